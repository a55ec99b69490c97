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

namespace {

const char* const box_types[] = {"ok", "ok", "ok", "yesno", "okcancel", "yesnocancel"};
const char* const box_icons[] = {"info", "error", "warning", "question", "question", "question"};

// The runs' first `capacity` bytes.
MixedText cut_runs(MixedText text, std::size_t capacity) {
  std::size_t left = capacity;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i].text.size() >= left) {
      text[i].text.resize(left);
      text.resize(i + 1);
      break;
    }
    left -= text[i].text.size();
  }
  return text;
}

// Without the blanks that end the text, whichever runs hold them.
void trim_runs(MixedText& text) {
  while (!text.empty()) {
    std::string& last = text.back().text;
    last = trim(last);
    if (!last.empty()) return;
    text.pop_back();
  }
}

}  // namespace

void error_message_tit(std::int32_t& msg_status, std::string_view tit, MixedText msg, bool qline) {
  for (TextRun& run : msg)
    convert_line_breaks(run.text, run.own ? own_code_page : ansi_code_page());
  trim_runs(msg);
  if (qline) {
    console_write(" ");
    for (const TextRun& run : msg) console_parts({{run.text, run.own}});
    console_write("\n");
    std::fflush(stdout);
    return;
  }
  std::int32_t kind = msg_status;
  if (kind < s_info || kind > s_yesnocancel) return;
  std::string title = trim(tit).substr(0, dialog_title_capacity);
  int answer = dialog_message_box(title, cut_runs(std::move(msg), dialog_message_capacity),
                                  box_types[kind], box_icons[kind], 1);
  if (kind >= s_yesno) msg_status = answer;
}

void error_message_tit(std::int32_t& msg_status, std::string_view tit, std::string& msg,
                       bool qline) {
  error_message_tit(msg_status, tit, MixedText{{msg}}, qline);
  convert_line_breaks(msg, ansi_code_page());
}

// The runs within `capacity` bytes, the machine's names cut before the
// program's own words: a box that stops a run keeps its reason whole
// however long the names it gives. Words longer than the capacity on their
// own are cut at its end.
MixedText fit_runs(MixedText text, std::size_t capacity) {
  std::size_t total = 0;
  for (const TextRun& run : text) total += run.text.size();
  while (total > capacity) {
    TextRun* longest = nullptr;
    for (TextRun& run : text) {
      if (!run.own && !run.text.empty() && (!longest || run.text.size() > longest->text.size())) {
        longest = &run;
      }
    }
    if (longest == nullptr) break;
    std::size_t over = std::min(total - capacity, longest->text.size());
    longest->text.resize(longest->text.size() - over);
    total -= over;
  }
  return cut_runs(std::move(text), capacity);
}

int stop_run(std::string_view title, const MixedText& msg, const MixedText& note) {
  MixedText text = fit_runs(msg, message_capacity);
  text.insert(text.end(), note.begin(), note.end());
  std::int32_t msg_status = s_error;
  error_message_tit(msg_status, title, std::move(text), false);
  return 1;
}

MixedText output_file_error(const SharedWords& words, std::string_view name, FileRefusal why) {
  return {{words.output_file, true},
          {std::string(name)},
          {words.error_opening + refusal_line(words, why), true}};
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
  std::int32_t kind = *status;
  if (kind < s_info || kind > s_yesnocancel) return;
  int answer = dialog_message_box(title, {{message}}, box_types[kind], box_icons[kind], 1);
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
  dialog_message_box("Error", {{words.no_file_chosen, true}}, "ok", "error", 1);
  return std::nullopt;
}
