// What was written, read back before it takes a file's place: the new
// controls.ini against the lines the conversion meant to write, and a copy
// (a backup, or a backup put back) against its original, so that a disk, a
// driver or an antivirus that hands back other bytes than were written
// never replaces a pilot's file.
#ifndef MALVET_CONVERTER_READ_BACK_H
#define MALVET_CONVERTER_READ_BACK_H

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "converter/events.h"
#include "shared/textfile.h"

// The lines a conversion means the new file to hold, as they are told:
// their count and digest.
class MeantLines : public Listener {
 public:
  void pass_started() override;
  void new_line(const MergedLine& line) override;
  std::size_t lines() const { return lines_; }
  const LineDigest& digest() const { return digest_; }

 private:
  std::size_t lines_ = 0;
  LineDigest digest_;
};

// The first line where a file read back differs from what was meant: its
// number (from 1), and both texts (empty past a file's end).
struct LineDifference {
  std::size_t line = 0;
  std::string meant, read;
};

// Reads the new file `path` back through the controls.ini grammar, 80
// characters a line: nothing when it holds every line `meant` was told,
// each whole and in order, and no other; else the first that differs,
// found by telling the lines again with `again` (a new pass over the
// source) to a listener that reads the file alongside.
std::optional<LineDifference> read_back(const std::string& path, const MeantLines& meant,
                                    const std::function<void(Listener&)>& again);

// A copy against its original, byte for byte: nothing when both read to
// their end with the same bytes; else the first line that differs (meant:
// the original's; read: the copy's), a file that can't be read differing
// at its first line not read.
std::optional<LineDifference> compare_copy(const std::string& copy, const std::string& original);

#endif
