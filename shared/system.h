// The registry, the environment and file dates, as discovery and probing read
// them, each with its console trace.
#ifndef MALVET_SHARED_SYSTEM_H
#define MALVET_SHARED_SYSTEM_H

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "shared/console.h"
#include "shared/words.h"

// Size of the buffer a registry value is read into.
inline constexpr std::size_t registry_value_capacity = 255;

// What a text read from the machine is: a file or folder's name is noted by
// note_machine_name, so that a run which then finds no file can say why.
enum class ValueUse { text, path };

// Reads the value `name` of the key `subkey` under HKEY_CURRENT_USER (when
// `len` is 0 or more on entry) or HKEY_CLASSES_ROOT (when negative). On
// success returns 0, `outval` holds the value's bytes (a text up to and with
// its NUL) and `len` its size; otherwise returns the Windows status of the
// step that failed and leaves both untouched. A value of more than 255 bytes
// is not read (status 234). A text's letters that the machine's code page
// lacks come as "?". The console traces each step unless `trace` is no.
std::int32_t RdUsrReg(std::string_view subkey, std::string_view name, std::string& outval,
                      std::int32_t& len, ValueUse use = ValueUse::text, Trace trace = Trace::yes);

// RdUsrReg under HKEY_LOCAL_MACHINE, where some systems keep what others keep
// for the user.
std::int32_t RdMachineReg(std::string_view subkey, std::string_view name, std::string& outval,
                          std::int32_t& len, Trace trace = Trace::yes);

// Reads an environment variable for a buffer of `len` bytes: returns the
// number of characters stored in `value`, 0 when the variable is not set, and
// the size needed (more than `len` - 1) without storing anything when it
// does not fit, as Windows does.
std::int32_t MyGetEnv(std::string_view name, std::string& value, std::size_t len,
                      ValueUse use = ValueUse::text);

// True when the machine's system code page (the registry's, not the one the
// program runs with) is UTF-8: text files for the pilot's programs are then
// best written as UTF-8 with a byte-order mark.
bool system_code_page_is_utf8(Trace trace = Trace::yes);

// The folder that a run reads its delivered tables from, with its final
// "\" (empty for the working folder): the tables are one set, all from the
// working folder when it holds any of `names` (a missing one then fails
// there), else all from beside the program's executable when that holds
// any (as when the program is started from a command prompt in another
// folder), else the working folder. The console names the folder.
std::string tables_folder(std::initializer_list<const char*> names);

// Records whether a name that the run took from the machine for a file or
// folder (a registry value, an environment variable, its command line, a
// file dialog) kept every letter: one the machine's code page can't hold
// names no file on disk.
void note_machine_name(bool whole);

// The line that a run's stopping box adds when a name lost letters so ("/"
// and the line, in the language of `words`); empty while every name was
// whole.
std::string lost_letters_note(const SharedWords& words);

// The file's last modification time in seconds since 1970-01-01 00:00 UTC, or
// -1 when it does not exist (or vanished before its date could be read).
std::int64_t modified_date(std::string_view infile);

#endif
