// What a conversion keeps of the version-3 file it replaces (Brin23 -keep):
// the bindings of commands that only version 3 has, and the sections of
// devices that only the version-3 file knows (a stick bought since).
#ifndef MALVET_CONVERTER_KEEP_H
#define MALVET_CONVERTER_KEEP_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "converter/conversion.h"
#include "shared/textfile.h"

// The headers and bindings that the old file may hold for keeping: a real
// controls.ini holds a few hundred; beyond this one is not kept at all.
inline constexpr std::size_t max_old_lines = 65536;

// A binding of the old file whose key reads as a number.
struct OldBinding {
  std::string line;   // as the conversion writes a binding
  std::string value;  // trimmed
  bool own = false;   // a command that only version 3 has
};

// A section of the old file, header trimmed. Bindings before the first
// header belong to none and are not kept.
struct OldSection {
  std::string header;
  std::vector<OldBinding> bindings;
};

struct OldFile {
  enum class Read { whole, failed, too_long };
  Read read = Read::whole;  // failed: a read error; too_long: over max_old_lines
  std::vector<OldSection> sections;
};

// Reads the old version-3 file to its end: its headers and the bindings
// whose key reads as a number; blank lines and every other line are left
// out, as the conversion leaves them out of the source.
OldFile read_old_file(LineSource& old, const VersionThreeOnly& own);

// A line of the new file, or a line of the old one left out because its
// value is bound anew in its section.
struct MergedLine {
  enum class Kind { converted, kept, taken };
  Kind kind;
  std::string text;
};

// Merges the old file's own bindings into the converted lines, given one
// at a time. After the converted bindings of a section whose header the
// old file has (its first one in the new file) come the old sections'
// bindings of version-3-only commands, in their old order, but for those
// whose value (not blank) a converted binding of the section has; after the
// last line, the old sections whose header the new file lacks, whole.
class Keeper {
 public:
  explicit Keeper(const std::vector<OldSection>& old);

  // The lines that the next converted line brings, in order: before a
  // header, what the section it ends keeps; then the line itself.
  std::vector<MergedLine> take(const ConvertedLine& line);

  // What the last section keeps, then the sections only the old file has.
  std::vector<MergedLine> finish();

  // The bindings kept so far, and those left out as taken.
  std::size_t kept() const { return kept_; }
  std::size_t taken() const { return taken_; }

 private:
  void end_section(std::vector<MergedLine>& out);

  const std::vector<OldSection>& old_;
  std::unordered_map<std::string, std::vector<std::size_t>> sections_of_;  // by header
  std::vector<bool> met_;  // an old section whose header the new file has
  // The own bindings that the current section may keep, and whether each
  // one's value is taken.
  std::vector<const OldBinding*> candidates_;
  std::vector<bool> taken_now_;
  std::unordered_map<std::string, std::vector<std::size_t>> candidates_of_;  // by value
  std::size_t kept_ = 0;
  std::size_t taken_ = 0;
};

#endif
