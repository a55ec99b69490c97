// What a Brin23 run does, told once, as it happens, to every output that
// listens: the console trace, the log, the window's summary and the
// receipt. The run's steps never write to an output themselves; each
// listener keeps only what it needs (a count, a name) and writes in its own
// words, so that a new output is a new listener and its words.
#ifndef MALVET_CONVERTER_EVENTS_H
#define MALVET_CONVERTER_EVENTS_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "converter/backup.h"
#include "converter/conversion.h"
#include "converter/keep.h"

// What the single argument asks for: a conversion (no argument, "-3" or a
// source file), one that keeps version 3's own bindings, a conversion looked
// at without writing anything, or the file put back as it was before. A
// file named "-keep" is converted when named ".\-keep".
enum class Mode { convert, keep, check, undo };

// The files of a conversion and how it goes about them.
struct RunFiles {
  std::string source, target;
  Mode mode = Mode::convert;
  bool in_place = false;  // "-3": the version-3 file converted as it is
};

// What a pass over the source made of it.
struct Converted {
  std::size_t read = 0;      // the binding lines of the source
  std::size_t bindings = 0;  // converted from the source
  std::size_t kept = 0;      // of the old file's own: kept, or that -keep would keep
  std::size_t taken = 0;     // of the old file's own: left out as bound anew
  std::size_t set_aside = 0;  // of the old file's own: left out as they would move the keyboard
  std::size_t lines = 0;     // the lines of the new file
  bool keeping = false;      // -keep
};

// Where -keep that found nothing of the file's own sends the pilot: the
// newest backup that holds some, how many, and how many -undo reach it
// (nothing when no walk does).
struct OwnElsewhere {
  std::string backup;
  std::size_t held = 0;
  std::optional<std::size_t> undos;
};

class Listener : public BackupTrace {
 public:
  // A conversion's files, once chosen; -undo's file.
  virtual void files(const RunFiles& /*files*/) {}
  virtual void undo_file(const std::string& /*target*/) {}
  // The table of command numbers, as it was read.
  virtual void table(const std::string& /*path*/) {}
  // A pass over the source begins: what an earlier one told is void (the
  // source changed while it was read).
  virtual void pass_started() {}
  // What a line of the source became, in the source's order.
  virtual void source_line(const SourceLine& /*line*/) {}
  // A line of the new file, or with -keep an old line left out as taken.
  virtual void new_line(const MergedLine& /*line*/) {}
  // The pass is over and counts: what it made.
  virtual void pass_done(const Converted& /*done*/) {}
  // Each of the old file's own bindings, in that file's order.
  virtual void old_binding(const OldOutcome& /*outcome*/) {}
  // The backup made of the file replaced; a check's: the backup that a
  // conversion would make.
  virtual void backup_made(const std::string& /*name*/) {}
  virtual void backup_would_be(const std::string& /*name*/) {}
  // The new file read back as written, its lines.
  virtual void read_back(std::size_t /*lines*/) {}
  // -undo: a backup passed over as the same as the file; the one put back.
  virtual void passed_over(const std::string& /*backup*/) {}
  // -undo goes back from the newest backup: the record of Brin23's runs
  // does not match the file (changed since), or can't be read.
  virtual void undo_from_newest() {}
  virtual void restored(const std::string& /*backup*/) {}
  // The conversion is in place (a check: would be).
  virtual void converted(const RunFiles& /*files*/, const Converted& /*done*/) {}
  // The run's own files are where they are: its log.
  virtual void run_files() {}
  // A plain conversion left out bindings that -keep would keep, which the
  // backup holds; -keep found none of the file's own, but a backup holds some.
  virtual void own_left_out(std::size_t /*count*/, const std::string& /*backup*/) {}
  virtual void own_elsewhere(const OwnElsewhere& /*where*/) {}
  // The receipt is written.
  virtual void receipt(const std::string& /*path*/) {}
  // The run ends as it should.
  virtual void finished() {}
};

// Tells each event to every listener added, in the order they were added.
class Events : public Listener {
 public:
  void add(Listener& listener) { listeners_.push_back(&listener); }

  void listing(const std::string& command, CommandStatus status) override;
  void first_name(const std::string& pattern, const std::string& name) override;
  void copy(const std::string& command) override;
  void copied(CommandStatus status) override;
  void files(const RunFiles& files) override;
  void undo_file(const std::string& target) override;
  void table(const std::string& path) override;
  void pass_started() override;
  void source_line(const SourceLine& line) override;
  void new_line(const MergedLine& line) override;
  void pass_done(const Converted& done) override;
  void old_binding(const OldOutcome& outcome) override;
  void backup_made(const std::string& name) override;
  void backup_would_be(const std::string& name) override;
  void read_back(std::size_t lines) override;
  void passed_over(const std::string& backup) override;
  void undo_from_newest() override;
  void restored(const std::string& backup) override;
  void converted(const RunFiles& files, const Converted& done) override;
  void run_files() override;
  void own_left_out(std::size_t count, const std::string& backup) override;
  void own_elsewhere(const OwnElsewhere& where) override;
  void receipt(const std::string& path) override;
  void finished() override;

 private:
  std::vector<Listener*> listeners_;
};

#endif
