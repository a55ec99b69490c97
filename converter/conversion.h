// The conversion rules: the table of command numbers A2-A3.txt, and a
// version-2 controls.ini rewritten line by line under the version-3 numbers.
#ifndef MALVET_CONVERTER_CONVERSION_H
#define MALVET_CONVERTER_CONVERSION_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/tables.h"
#include "shared/textfile.h"

// True for a version-3 number that no version-2 number converts to: a
// command that only version 3 has.
class VersionThreeOnly {
 public:
  explicit VersionThreeOnly(const CommandMap& k_v3);
  bool operator()(std::int32_t v3) const;

 private:
  std::vector<bool> converted_to_;
};

// A binding as the conversion writes it: the number as left-justified text,
// "=", the trimmed value.
std::string binding_line(std::int32_t number, std::string_view value);

// A line of the version-3 file: a section header as it stands (trimmed), or
// a binding, its trimmed value and its command.
struct ConvertedLine {
  std::string text;
  bool header = false;
  std::string value;
  std::int32_t number = 0;  // a binding's version-3 command
};

// The version-3 line that one source line becomes; nothing for a line left
// out: a blank line, a binding whose number does not read, a command that
// version 3 lacks.
std::optional<ConvertedLine> convert_line(std::string_view line, const CommandMap& k_v3);

// What a line of the source that is not blank became: a section header, or
// a binding carried (under the same name or a new one), not carried
// (version 3 has no such command), or unreadable (no command number, or one
// the table can't hold). The conversion tells carried; the names tell
// which are carried under a new name.
enum class Fate { header, carried, renamed, not_carried, unreadable };
struct SourceLine {
  Fate fate = Fate::header;
  std::size_t number = 0;          // the line's number in the source, from 1
  std::string_view text;           // the line as read
  std::optional<std::int32_t> v2;  // a binding's command, when it reads
  std::int32_t v3 = -1;            // a carried binding's version-3 command
  std::string value;               // a binding's value, trimmed
};

// Converts the source line by line to its end, handing each line of the
// version-3 file to `emit` as it is made: nothing is held. False when a read
// error stopped the reading (what was emitted is then a part only).
bool convert_lines(LineSource& source, const CommandMap& k_v3,
                   const std::function<void(const ConvertedLine&)>& emit);

// convert_lines that also tells `each` what every line that is not blank
// became, with the line it makes (none for a binding left out).
bool account_lines(LineSource& source, const CommandMap& k_v3,
                   const std::function<void(const SourceLine&, const ConvertedLine*)>& each);

#endif
