// The conversion rules: the table of command numbers A2-A3.txt, and a
// version-2 controls.ini rewritten line by line under the version-3 numbers.
#ifndef MALVET_CONVERTER_CONVERSION_H
#define MALVET_CONVERTER_CONVERSION_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shared/textfile.h"

// The highest command number the table holds.
inline constexpr std::int32_t highest_command = 4000;

// The version-3 number of each version-2 command number 0..4000, -1 for a
// command that version 3 does not have.
using CommandMap = std::vector<std::int32_t>;

// Reads the table to its end: lines "v3 number=v2 number"; the last line for
// a version-2 number wins; blank lines, lines with a blank right part and
// lines without both numbers in 0..4000 are left out. Nothing when a read
// error stopped the reading: a table cut short would drop every binding it
// lost.
std::optional<CommandMap> read_command_map(LineSource& table);

// The lines of the version-3 file made from the source, read to its end:
// each header as it stands (trimmed), each binding as its version-3 number,
// "=" and its trimmed value; blank lines, bindings whose number does not
// read and commands that version 3 lacks are left out. Nothing when a read
// error stopped the reading.
std::optional<std::vector<std::string>> convert_lines(LineSource& source, const CommandMap& k_v3);

#endif
