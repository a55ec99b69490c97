// The tables delivered beside the programs: the command tables (CMD.txt,
// CMD_A3.txt) and the keyboard's scan-code tables (SCN_QWERTY.txt,
// SCN_AZERTY_FR.txt).
//
// Both kinds are files of lines "number=name" (or "number:name"), read 80
// characters a line; blank lines are skipped, and in a command table so is a
// line that begins with "#".
#ifndef MALVET_SHARED_TABLES_H
#define MALVET_SHARED_TABLES_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shared/textfile.h"
#include "shared/words.h"

inline constexpr std::size_t maxkey = 512;  // entries of the scan-code table
inline constexpr std::size_t maxcmd = 256;  // commands of one version's table; rows of one version

inline constexpr std::size_t key_name_capacity = 32;
inline constexpr std::size_t command_name_capacity = 64;

struct ScanCode {
  std::int32_t code;  // i_key
  std::string name;   // n_key, at most 32 characters
};
using ScanCodeTable = std::vector<ScanCode>;  // nb_key is its size

struct Command {
  std::int32_t number;  // i_cmd: the number used in controls.ini
  std::string name;     // n_cmd, at most 64 characters
};
using CommandTable = std::vector<Command>;  // nb_cmd is its size

// The command tables of both versions.
inline constexpr const char* command_table_v2 = "CMD.txt";
inline constexpr const char* command_table_v3 = "CMD_A3.txt";

// The scan-code table of a run's language, and whether the top row's keys
// 2..10 are named by their digits: the French AZERTY keys, whose names are
// not their digits, in French; the QWERTY table in any other language.
struct ScanTableChoice {
  const char* file = "SCN_QWERTY.txt";
  bool digits_named = false;
};
ScanTableChoice scan_table_of(Language language);

// A scan-code table in file order. A line whose code is not a whole number
// is the last entry loaded (its code stored as 0); loading also stops at 512
// entries. Nothing when a read error stopped the reading.
std::optional<ScanCodeTable> load_scan_codes(LineSource& in);

// A command table in file order. A line whose number is not a whole number
// is an entry with number 0 and loading goes on; loading stops at 256
// entries. `lmax` is raised to the length of the longest name read, measured
// before the name is cut to 64 characters. Nothing when a read error
// stopped the reading.
std::optional<CommandTable> load_commands(LineSource& in, std::int32_t& lmax);

// The name of the command `number` in `table` (its first entry); nothing
// when the table has none.
const std::string* command_name(const CommandTable& table, std::int32_t number);

// The table of command numbers from version 2 to version 3.
inline constexpr const char* conversion_table = "A2-A3.txt";

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

// A number the table holds: 0..4000.
std::optional<std::int32_t> in_command_table(std::optional<std::int32_t> n);

#endif
