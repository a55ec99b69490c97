#include "shared/messages.h"

#include <cstdio>
#include <vector>

#include "shared/console.h"
#include "shared/dialog.h"
#include "shared/limits.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"
#include "shared/windows_rules.h"

namespace {

constexpr std::size_t filter_capacity = 63;
constexpr std::size_t max_patterns = 10;
constexpr std::size_t pattern_capacity = 31;

}  // namespace

void convert_line_breaks(std::string& msg, std::uint32_t code_page) {
  // A "\" that is the second byte of a double-byte letter escapes nothing.
  bool second_byte = false;
  for (std::size_t p = 0; p < msg.size(); ++p) {
    if (second_byte) {
      second_byte = false;
      continue;
    }
    if (windows_rules::is_lead_byte(code_page, static_cast<unsigned char>(msg[p]))) {
      second_byte = true;
    } else if (msg[p] == '\\' && p + 1 < msg.size() && msg[p + 1] == '/') {
      msg.erase(p, 1);  // the "/" after it stays, as a plain slash
    } else if (msg[p] == '/') {
      msg[p] = '\n';
    }
  }
}

namespace {}  // namespace

void error_message_tit(std::int32_t& msg_status, std::string_view tit, std::string& msg,
                       bool qline) {
  convert_line_breaks(msg, ansi_code_page());
  std::string text = trim(msg);
  if (qline) {
    console_printf(" %s\n", text.c_str());
    std::fflush(stdout);
    return;
  }
  std::string message = text.substr(0, dialog_message_capacity);
  std::string title = trim(tit).substr(0, dialog_title_capacity);
  DisplayMessage(title.c_str(), message.c_str(), &msg_status);
}

int stop_run(std::string_view title, std::string_view msg, std::string_view note) {
  std::string text = cut(msg, message_capacity) + std::string(note);
  std::int32_t msg_status = s_error;
  error_message_tit(msg_status, title, text, false);
  return 1;
}

std::string output_file_error(const SharedWords& words, std::string_view name, FileRefusal why) {
  return words.output_file + std::string(name) + words.error_opening + refusal_line(words, why);
}

std::string refusal_line(const SharedWords& words, FileRefusal why) {
  switch (why) {
    case FileRefusal::held:
      return words.refusal_held;
    case FileRefusal::read_only:
      return words.refusal_read_only;
    case FileRefusal::access_denied:
      return words.refusal_access_denied;
    case FileRefusal::undelivered:
      return words.refusal_undelivered;
    case FileRefusal::none:
      break;
  }
  return std::string();
}

std::string input_refusal_line(const SharedWords& words, FileRefusal why) {
  return why == FileRefusal::undelivered ? refusal_line(words, why) : std::string();
}

void error_message(std::int32_t& msg_status, std::string& msg, bool qline) {
  error_message_tit(msg_status, "Malvet", msg, qline);
}

void DisplayMessage(const char* title, const char* message, std::int32_t* status) {
  static const char* const types[] = {"ok", "ok", "ok", "yesno", "okcancel", "yesnocancel"};
  static const char* const icons[] = {"info",     "error",    "warning",
                                      "question", "question", "question"};
  std::int32_t kind = *status;
  if (kind < s_info || kind > s_yesnocancel) return;
  int answer = dialog_message_box(title, message, types[kind], icons[kind], 1);
  if (kind >= s_yesno) *status = answer;
}

std::int32_t IsLanguageFrench() { return ui_language() == Language::french ? 1 : 0; }

std::optional<std::string> GetFileName(std::string_view title, std::string_view path,
                                       std::string_view filter, std::string_view /*desc*/,
                                       bool multi, const SharedWords& words) {
  std::string filter_copy(filter.substr(0, filter_capacity));
  std::string initial(path);
  console_printf("GetFileName %s %d\n", filter_copy.c_str(), static_cast<int>(filter_copy.size()));
  console_printf("GetFileName %s %d\n", initial.c_str(), static_cast<int>(initial.size()));
  std::fflush(stdout);

  // Every non-empty piece between commas is one pattern, exactly as written.
  std::vector<std::string> patterns;
  std::string_view rest = filter_copy;
  while (patterns.size() < max_patterns) {
    std::size_t comma = rest.find(',');
    std::string_view piece = rest.substr(0, comma);
    if (!piece.empty()) patterns.emplace_back(piece.substr(0, pattern_capacity));
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }

  bool whole = true;
  std::optional<std::string> chosen =
      dialog_open_file(std::string(title), initial, patterns, multi, &whole);
  note_machine_name(whole);
  if (chosen) return chosen;
  dialog_message_box("Error", words.no_file_chosen, "ok", "error", 1);
  return std::nullopt;
}
