#include "shared/dialog.h"

#include "shared/machine_text.h"
#include "shared/platform.h"
#include "shared/textfile.h"

namespace {

// The answers of MALVET_DIALOGS and the position of the next one. The file is
// read at the first dialog, and again should the variable name another file.
struct Script {
  std::string file;
  std::vector<std::string> lines;
  std::size_t next = 0;
};

// The script in force; nullptr when MALVET_DIALOGS names no file.
Script* script() {
  static Script s;
  std::optional<std::string> name = environment_variable("MALVET_DIALOGS");
  if (!name || name->empty()) return nullptr;
  if (s.file != *name) {
    s = Script{*name, {}, 0};
    LineReader reader(from_native_path(*name), 4096);
    while (auto line = reader.next()) s.lines.push_back(*line);
  }
  return &s;
}

std::optional<std::string> next_answer() {
  Script* s = script();
  if (s == nullptr || s->next >= s->lines.size()) return std::nullopt;
  return s->lines[s->next++];
}

void transcribe(const std::string& line) {
  std::optional<std::string> name = environment_variable("MALVET_DIALOG_LOG");
  if (!name || name->empty()) return;
  LineWriter log;
  if (log.open(from_native_path(*name), "ab")) log.write_line(line);
}

std::string escape_line_feeds(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

int scripted_answer(const std::string& dialog_type) {
  std::optional<std::string> answer = next_answer();
  if (!answer) return 0;
  if (*answer == "yes" || *answer == "ok") return 1;
  if (*answer == "no" && dialog_type == "yesnocancel") return 2;
  return 0;
}

}  // namespace

int dialog_message_box(const std::string& title, const MixedText& message,
                       const std::string& dialog_type, const std::string& icon,
                       int default_button) {
  std::string kind = dialog_type;
  if (dialog_type == "ok") kind = icon == "error" || icon == "warning" ? icon : "info";
  transcribe("box|" + kind + "|" + title + "|" + escape_line_feeds(bytes_of(message)));
  if (script() != nullptr) {
    return dialog_type == "ok" ? 1 : scripted_answer(dialog_type);
  }
  return native_message_box(title, utf16_of(message), bytes_of(message), dialog_type, icon,
                            default_button);
}

std::optional<std::string> dialog_open_file(const std::string& title,
                                            const std::string& initial_path,
                                            const std::vector<std::string>& patterns, bool multi,
                                            bool* whole) {
  if (whole != nullptr) *whole = true;
  std::string joined;
  for (const std::string& p : patterns) joined += (joined.empty() ? "" : ",") + p;
  transcribe("open|" + title + "|" + initial_path + "|" + joined);
  if (script() != nullptr) {
    std::optional<std::string> path = next_answer();
    if (!path || path->empty()) return std::nullopt;
    return from_native_path(*path);
  }
  return native_open_file(title, initial_path, patterns, multi, whole);
}
