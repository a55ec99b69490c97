// The history of a pilot's version-3 controls.ini, as -undo walks it: the
// numbered backups, and beside them a small record of what each run of
// Brin23 did (which backup a conversion made; which one -undo put back and
// what it kept first), so that -undo goes back one state at a time, as an
// editor's undo does, even where the backups' bytes recur.
#ifndef MALVET_CONVERTER_HISTORY_H
#define MALVET_CONVERTER_HISTORY_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A file's bytes, in brief: two files with the same digest hold the same
// bytes. Nothing when it can't be read to its end.
using Digest = std::uint64_t;
std::optional<Digest> file_digest(const std::string& path);

// What one run did to the file.
struct HistoryEntry {
  enum class Kind { convert, undo };
  Kind kind = Kind::convert;
  // convert: the backup it made of the file it replaced; undo: the backup
  // it made of the file before putting another back (none when one held it).
  std::optional<std::int32_t> made;
  std::optional<std::int32_t> restored;  // undo: the backup put back
  Digest result = 0;                     // the file's bytes after the run
  Digest undone = 0;                     // undo: the file's bytes it undid
  bool operator==(const HistoryEntry& o) const {
    return kind == o.kind && made == o.made && restored == o.restored && result == o.result &&
           undone == o.undone;
  }
};

// The record's file beside the target: "controls.ini.history".
std::string history_name(const std::string& target);

// The record's entries, oldest first: none when there is no record;
// nothing when it can't be read or a line of it does not read whole (a run
// cut short while writing it, an edit): such a record is not honoured.
std::optional<std::vector<HistoryEntry>> read_history(const std::string& name);

// Adds an entry at the record's end, written through to the disk, each line
// with its own check so that a line cut short never reads as an entry;
// false when it could not be written. A record past a few thousand entries
// keeps its newest.
bool add_to_history(const std::string& name, const HistoryEntry& entry);

// A numbered backup as -undo weighs it: its number and its bytes.
struct BackupState {
  std::int32_t number = 0;
  Digest digest = 0;
};

// Where -undo goes. When the record's last run left the file with the bytes
// it has (`current`), the walk goes on from there: after a conversion, the
// backup it made; after -undo, the backup below the one it put back. Else
// (the file changed since, no record or one that can't be read) it goes
// back from the newest backup, and the plan says so. Backups with the file's
// bytes are passed over, and so are the states that an earlier -undo undid.
// The file is backed up first when no backup holds its bytes. With no
// current file (`current` nothing) the newest backup comes back.
struct UndoPlan {
  std::optional<std::size_t> restore;  // nothing at the bottom of the history
  bool back_up_current = false;
  std::vector<std::size_t> passed_over;  // the same as the file
  bool from_record = false;              // the record's walk; else from the newest
};
UndoPlan plan_undo(const std::vector<BackupState>& backups, std::optional<Digest> current,
                   const std::optional<std::vector<HistoryEntry>>& record);

// How many -undo bring the file from `current` back to `wanted`, the
// history as `backups` and `record` hold it; nothing when the walk never
// comes to it.
std::optional<std::size_t> undos_to_reach(std::vector<BackupState> backups, Digest current,
                                          std::optional<std::vector<HistoryEntry>> record,
                                          Digest wanted);

#endif
