// The end of a Brin23 run: where the bindings of version 3's own that -keep
// found none of are, and the summary that a window of its own (a
// double-click in Explorer) ends with before it waits for Enter.
#ifndef MALVET_CONVERTER_RUN_END_H
#define MALVET_CONVERTER_RUN_END_H

#include <cstddef>
#include <optional>
#include <string>

#include "converter/conversion.h"
#include "converter/events.h"
#include "converter/receipt.h"
#include "converter/words.h"

// The newest backup of `target` that holds bindings of version 3's own
// (`own`), how many, and how many -undo bring it back; nothing when no
// backup holds any. The backups are listed through `trace`.
std::optional<OwnElsewhere> own_bindings_elsewhere(const std::string& target,
                                                   const VersionThreeOnly& own,
                                                   BackupTrace& trace);

// In a window of its own, once the run has finished: the summary of what
// it did, the first sum of the receipt and where it is, then a wait for
// Enter, or C then Enter, which opens the receipt. Elsewhere nothing.
class WindowSummary : public Listener {
 public:
  explicit WindowSummary(const Brin23Words& words) : w_(words) {}
  void files(const RunFiles& files) override {
    target_ = files.target;
    check_ = files.mode == Mode::check;
  }
  void undo_file(const std::string& target) override { target_ = target; }
  void pass_started() override { sums_ = BindingSums(); }
  void source_line(const SourceLine& line) override { sums_.add(line.fate); }
  void pass_done(const Converted& done) override { done_ = done; }
  void backup_made(const std::string& name) override { backup_ = name; }
  void restored(const std::string& backup) override { restored_from_ = backup; }
  void receipt(const std::string& path) override { receipt_ = path; }
  void finished() override;

 private:
  // The lines that say what was written, or put back.
  void say_done() const;

  const Brin23Words& w_;
  std::string target_, backup_, restored_from_, receipt_;
  bool check_ = false;
  Converted done_;
  BindingSums sums_;
};

#endif
