// The next free numbered name for a backup copy of a file: controls.ini.bak
// becomes controls.ini_00000.bak, then controls.ini_00001.bak and so on. The
// five digits go in front of the extension (at the end of a name without
// one); the next number is one more than the highest one already in the
// folder, not the first gap.
#ifndef MALVET_CONVERTER_BACKUP_H
#define MALVET_CONVERTER_BACKUP_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The folder listing's file, in the working folder while a call runs.
inline constexpr const char* listing_file = "get_new_vers_tmp.txt";

// Turns `fnam`, the full name of the file to back up, into the numbered name
// to copy it to and returns 1. The numbers come from a listing of the folder
// (newest first) that this call made whole; without one, or when the name it
// gives is taken all the same, names are tried from 00000 on. When no number
// is free (99999 already taken, or every name up to 99998 when trying) a
// warning box says so and 0 is returned, `fnam` holding the last name looked
// at. The name is never cut: the caller checks that it fits its field. Only
// the name is chosen: nothing is copied or created.
std::int32_t get_new_vers(std::string& fnam);

// The newest numbered backup of `fnam` (controls.ini.bak): the one with the
// highest number, found as get_new_vers finds the next (hidden ones count, a
// name without digits does not), as a full name in the folder of `fnam`;
// nothing when there is none.
std::optional<std::string> newest_backup(const std::string& fnam);

// The numbered name that a folder listing (its lines, newest first) gives
// for `fnam`: one more than the highest number listed, in the letter case of
// the oldest listed name. Returns 1, or 0 after the warning when 99999 is
// taken; `fnam` is rewritten either way.
std::int32_t name_from_listing(std::string& fnam, const std::vector<std::string>& lines);

#endif
