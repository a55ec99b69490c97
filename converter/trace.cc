#include "converter/trace.h"

#include "shared/console.h"
#include "shared/limits.h"
#include "shared/log.h"
#include "shared/platform.h"
#include "shared/text.h"

namespace {

const std::string& console_mark(const Brin23Words& w, MergedLine::Kind kind) {
  static const std::string none;
  switch (kind) {
    case MergedLine::Kind::kept:
      return w.mark_kept;
    case MergedLine::Kind::taken:
      return w.mark_taken;
    case MergedLine::Kind::set_aside:
      return w.mark_set_aside;
    case MergedLine::Kind::converted:
      break;
  }
  return none;
}

}  // namespace

void ConsoleTrace::listing(const std::string& command, CommandStatus status) {
  console_backup_trace().listing(command, status);
}

void ConsoleTrace::first_name(const std::string& pattern, const std::string& name) {
  console_backup_trace().first_name(pattern, name);
}

void ConsoleTrace::copy(const std::string& command) { console_backup_trace().copy(command); }

void ConsoleTrace::copied(CommandStatus status) { console_backup_trace().copied(status); }

void ConsoleTrace::files(const RunFiles& files) {
  console_printf(" %s\n %s\n", files.source.c_str(), files.target.c_str());
}

void ConsoleTrace::undo_file(const std::string& target) {
  console_printf(" %s\n", target.c_str());
}

void ConsoleTrace::new_line(const MergedLine& line) {
  console_parts({{" "}, {line.text}, {console_mark(w_, line.kind), true}, {"\n"}});
}

void ConsoleTrace::pass_done(const Converted& done) {
  if (!done.keeping) return;
  std::string counts = count_text(w_.kept, done.kept);
  if (done.taken > 0) counts += count_text(w_.taken, done.taken);
  console_parts({{" "}, {counts, true}, {"\n"}});
}

void ConsoleTrace::passed_over(const std::string& backup) {
  console_parts({{" "}, {w_.same_as_current, true}, {backup}, {"\n"}});
}

void ConsoleTrace::restored(const std::string& backup) {
  console_parts({{" "}, {w_.restored_from, true}, {backup}, {"\n"}});
}

void ConsoleTrace::run_files() {
  console_printf(" %s: %s\n", log_file_name().c_str(), working_folder().c_str());
}

void ConsoleTrace::own_left_out(std::size_t count, const std::string& backup) {
  console_parts({{" "},
                 {count_text(w_.note_before, count), true},
                 {backup},
                 {count_text(w_.note_after, count), true},
                 {"\n"}});
}

void ConsoleTrace::own_elsewhere(const OwnElsewhere& where) {
  std::string how = where.undos ? count_text(w_.hint_undos, *where.undos) : w_.hint_undos_unknown;
  console_parts({{" "},
                 {w_.hint, true},
                 {where.backup},
                 {count_text(w_.hint_holds, where.held) + how + count_text(w_.hint_then, where.held),
                  true},
                 {"\n"}});
}

void LogLines::copy(const std::string& command) { log_message_f(command); }

void LogLines::undo_from_newest() { log_line_f({{w_.undo_from_newest, true}}); }

void LogLines::restored(const std::string& backup) {
  log_line_f({{w_.restored_from, true}, {backup}});
}

void LogLines::converted(const RunFiles& files, const Converted& done) {
  log_message_f(cut("file: " + files.source + " converted to " + files.target, message_capacity));
  if (done.keeping) log_line_f({{count_text(w_.kept, done.kept), true}});
}

void LogLines::receipt(const std::string& path) {
  log_line_f({{w_.receipt_line, true}, {full_path_name(path)}});
}
