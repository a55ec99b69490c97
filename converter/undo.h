// Brin23 -undo: the pilot's version-3 controls.ini put back as it was before
// its last change, one state further back each time (history.h), and the
// record that each conversion leaves for it.
#ifndef MALVET_CONVERTER_UNDO_H
#define MALVET_CONVERTER_UNDO_H

#include <optional>
#include <string>

#include "converter/brin23_run.h"
#include "converter/events.h"
#include "converter/history.h"

// -undo's run; its exit status (1 after the box that stopped it).
int undo(Brin23Run& run, Listener& events);

// After a conversion put its file in place at `target`, having kept the
// file it replaced as `backup` (empty: none): the record of it. A record
// that can't be written only leaves the next -undo to go back from the
// newest backup.
void record_conversion(const std::string& target, const std::string& backup);

// The backups of `target` as -undo weighs them, in number order, their
// names beside; nothing when one can't be read (`unread` then names it).
struct WeighedBackups {
  std::vector<std::string> names;
  std::vector<BackupState> states;
};
std::optional<WeighedBackups> weigh_backups(const std::string& target, BackupTrace& trace,
                                            std::string& unread);

#endif
