// The next free numbered name for a backup copy of a file: controls.ini.bak
// becomes controls.ini_00000.bak, then controls.ini_00001.bak and so on. The
// five digits go in front of the extension (at the end of a name without
// one); the next number is one more than the highest one already in the
// folder, not the first gap.
#ifndef MALVET_CONVERTER_BACKUP_H
#define MALVET_CONVERTER_BACKUP_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shared/own_text.h"
#include "shared/platform.h"

// The folder listing's file, in the working folder while a call runs.
inline constexpr const char* listing_file = "get_new_vers_tmp.txt";

// What the backup's steps tell as they go, for the pilot who watches the
// console: the folder listing's command and how it ended, the first name
// made from the listing's pattern, the copy command and how it ended.
class BackupTrace {
 public:
  virtual ~BackupTrace() = default;
  virtual void listing(const std::string& /*command*/, CommandStatus /*status*/) {}
  virtual void first_name(const std::string& /*pattern*/, const std::string& /*name*/) {}
  virtual void copy(const std::string& /*command*/) {}
  virtual void copied(CommandStatus /*status*/) {}
};

// The trace on the console, as get_new_vers prints it by itself.
BackupTrace& console_backup_trace();

// Turns `fnam`, the full name of the file to back up, into the numbered name
// to copy it to and returns 1. The numbers come from a listing of the folder
// (newest first) that this call made whole; without one, or when the name it
// gives is taken all the same, names are tried from 00000 on. When no number
// is free (99999 already taken, or every name up to 99998 when trying) a
// warning box says so and 0 is returned, `fnam` holding the last name looked
// at. The name is never cut: the caller checks that it fits its field. Only
// the name is chosen: nothing is copied or created.
std::int32_t get_new_vers(std::string& fnam, BackupTrace& trace = console_backup_trace());

// What a backup's error boxes say: "Backup file : " and "/Error opening" in
// the run's language, and the line that tells why Windows refused a file.
struct BackupWords {
  std::string backup_file, error_opening;
  std::function<std::string(FileRefusal why)> refusal;
};

// Backs up `target` under the next numbered name of "<target>.bak": the
// copy command is traced and logged, the copy written under a passing name
// beside the target and named only once whole. Returns the backup's name
// (empty when there is no target to back up), or nothing after `stop`
// was handed the message of the error that stops the run: no number left,
// a name too long for its field, a copy that failed.
std::optional<std::string> back_up_target(const std::string& target, const BackupWords& words,
                                          const std::function<void(const MixedText&)>& stop,
                                          BackupTrace& trace);

// A numbered backup: its number and its full name.
struct NumberedBackup {
  std::int32_t number = 0;
  std::string name;
};

// The numbered backups of `fnam` (controls.ini.bak) in number order, the
// file's history: found as get_new_vers finds the next (hidden ones count, a
// name without digits does not), each a full name in the folder of `fnam`.
// A name that is a link is no copy of its own and no backup.
std::vector<NumberedBackup> backup_history(const std::string& fnam,
                                          BackupTrace& trace = console_backup_trace());

// The newest numbered backup of `fnam`: the one with the highest number;
// nothing when there is none.
std::optional<std::string> newest_backup(const std::string& fnam,
                                         BackupTrace& trace = console_backup_trace());

// The number of a numbered backup's name (controls.ini_00003.bak: 3);
// nothing for a name without one.
std::optional<std::int32_t> backup_number(const std::string& name);

// The numbered name that a folder listing (its lines, newest first) gives
// for `fnam`: one more than the highest number listed, in the letter case of
// the oldest listed name. Returns 1, or 0 after the warning when 99999 is
// taken; `fnam` is rewritten either way.
std::int32_t name_from_listing(std::string& fnam, const std::vector<std::string>& lines,
                               BackupTrace& trace = console_backup_trace());

#endif
