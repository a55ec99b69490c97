// What a Brin23 run's console and log say of it, as two listeners: the
// console's trace of every step (the files, each line written, the
// backup's commands, what -undo passed over and put back, the notes at the
// end), and the log's lines (the backup's copy command, what was converted
// or put back).
#ifndef MALVET_CONVERTER_TRACE_H
#define MALVET_CONVERTER_TRACE_H

#include "converter/events.h"
#include "converter/words.h"

class ConsoleTrace : public Listener {
 public:
  explicit ConsoleTrace(const Brin23Words& words) : w_(words) {}
  void listing(const std::string& command, CommandStatus status) override;
  void first_name(const std::string& pattern, const std::string& name) override;
  void copy(const std::string& command) override;
  void copied(CommandStatus status) override;
  void files(const RunFiles& files) override;
  void undo_file(const std::string& target) override;
  void new_line(const MergedLine& line) override;
  void pass_done(const Converted& done) override;
  void passed_over(const std::string& backup) override;
  void restored(const std::string& backup) override;
  void run_files() override;
  void own_left_out(std::size_t count, const std::string& backup) override;
  void own_elsewhere(const OwnElsewhere& where) override;

 private:
  const Brin23Words& w_;
};

// Each log line is also echoed on the console, as every log message is.
class LogLines : public Listener {
 public:
  explicit LogLines(const Brin23Words& words) : w_(words) {}
  void copy(const std::string& command) override;
  void undo_from_newest() override;
  void restored(const std::string& backup) override;
  void converted(const RunFiles& files, const Converted& done) override;
  void receipt(const std::string& path) override;

 private:
  const Brin23Words& w_;
};

#endif
