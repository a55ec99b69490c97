// What the receipt keeps of a run until it is written: a record of each
// section of the source (its start and its counts), each binding of the
// source and each of the old file's own bindings, in the order told. Held
// in memory, and past a few thousand records in a passing file beside the
// receipt, so that memory stays flat however long the source.
#ifndef MALVET_CONVERTER_RECEIPT_SPOOL_H
#define MALVET_CONVERTER_RECEIPT_SPOOL_H

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shared/textfile.h"

// A record: its kind, its numbers and its texts, as each kind has them.
//   section: the section's number (from 0); its header.
//   counts:  the section's number (-1 before the first), its carried,
//            renamed, not carried and unreadable lines; its header.
//   binding: its section's number, its fate, its line's number, its
//            version-2 command (-1 when none reads), its version-3 one;
//            its value, its line.
//   old:     kept (1) or not, the command that took its input (-1 for
//            none, set_aside_owner when set aside as it would move the
//            keyboard), read as a key (1) or not, its command; its
//            section's header, its value, its line.
struct Record {
  enum class Kind : char { section = 'S', counts = 'C', binding = 'B', old = 'O' };
  Kind kind = Kind::section;
  std::array<std::int64_t, 5> numbers{};
  std::array<std::string, 3> texts;
};

inline constexpr std::int64_t set_aside_owner = -2;

class Spool {
 public:
  explicit Spool(std::string name) : name_(std::move(name)) {}
  ~Spool() { restart(); }
  Spool(const Spool&) = delete;
  Spool& operator=(const Spool&) = delete;

  // Empty, as for a new pass.
  void restart();

  void add(Record record);

  // Once every record is added: false when some could not be kept.
  bool finish();

  // Each record, in the order added (once finished).
  void each(const std::function<void(const Record&)>& each) const;

 private:
  std::string name_;
  LineWriter file_;
  bool in_file_ = false, whole_ = true;
  std::vector<Record> memory_;
};

#endif
