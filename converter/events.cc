#include "converter/events.h"

void Events::listing(const std::string& command, CommandStatus status) {
  for (Listener* l : listeners_) l->listing(command, status);
}

void Events::first_name(const std::string& pattern, const std::string& name) {
  for (Listener* l : listeners_) l->first_name(pattern, name);
}

void Events::copy(const std::string& command) {
  for (Listener* l : listeners_) l->copy(command);
}

void Events::copied(CommandStatus status) {
  for (Listener* l : listeners_) l->copied(status);
}

void Events::files(const RunFiles& files) {
  for (Listener* l : listeners_) l->files(files);
}

void Events::undo_file(const std::string& target) {
  for (Listener* l : listeners_) l->undo_file(target);
}

void Events::table(const std::string& path) {
  for (Listener* l : listeners_) l->table(path);
}

void Events::pass_started() {
  for (Listener* l : listeners_) l->pass_started();
}

void Events::source_line(const SourceLine& line) {
  for (Listener* l : listeners_) l->source_line(line);
}

void Events::new_line(const MergedLine& line) {
  for (Listener* l : listeners_) l->new_line(line);
}

void Events::pass_done(const Converted& done) {
  for (Listener* l : listeners_) l->pass_done(done);
}

void Events::old_binding(const OldOutcome& outcome) {
  for (Listener* l : listeners_) l->old_binding(outcome);
}

void Events::backup_made(const std::string& name) {
  for (Listener* l : listeners_) l->backup_made(name);
}

void Events::backup_would_be(const std::string& name) {
  for (Listener* l : listeners_) l->backup_would_be(name);
}

void Events::read_back(std::size_t lines) {
  for (Listener* l : listeners_) l->read_back(lines);
}

void Events::passed_over(const std::string& backup) {
  for (Listener* l : listeners_) l->passed_over(backup);
}

void Events::undo_from_newest() {
  for (Listener* l : listeners_) l->undo_from_newest();
}

void Events::restored(const std::string& backup) {
  for (Listener* l : listeners_) l->restored(backup);
}

void Events::converted(const RunFiles& files, const Converted& done) {
  for (Listener* l : listeners_) l->converted(files, done);
}

void Events::run_files() {
  for (Listener* l : listeners_) l->run_files();
}

void Events::own_left_out(std::size_t count, const std::string& backup) {
  for (Listener* l : listeners_) l->own_left_out(count, backup);
}

void Events::own_elsewhere(const OwnElsewhere& where) {
  for (Listener* l : listeners_) l->own_elsewhere(where);
}

void Events::receipt(const std::string& path) {
  for (Listener* l : listeners_) l->receipt(path);
}

void Events::finished() {
  for (Listener* l : listeners_) l->finished();
}
