// What Brin23's console says at the end of a run: where the bindings it left
// out are and how to keep them, and, in a window of its own (a double-click
// in Explorer), the run's summary and a wait for Enter.
#ifndef MALVET_CONVERTER_RUN_END_H
#define MALVET_CONVERTER_RUN_END_H

#include <cstddef>
#include <string>

#include "converter/conversion.h"
#include "converter/words.h"

// What a run did.
struct RunDone {
  std::string target;
  std::string backup;         // the backup made; empty for none
  std::string restored_from;  // -undo: the backup put back
  bool written = true;        // a conversion that had no line to write leaves the file
  std::size_t converted = 0;  // the bindings written from version 2
  std::size_t kept = 0;       // version 3's own bindings kept (-keep)
  std::size_t left_out = 0;   // version 3's own bindings not in the new file
  bool keeping = false;       // -keep
};

// A plain conversion's last line: how many of the old file's own bindings
// the new file lacks, the backup that holds them, and how -keep keeps them.
void note_what_keep_keeps(const Brin23Words& w, std::size_t kept, const std::string& backup);

// After -keep found nothing of the file's own: the newest backup of
// `target` that holds bindings of version 3's own (`own`), how many, and how
// many -undo bring it back. Nothing when no backup holds any.
void hint_where_own_bindings_are(const Brin23Words& w, const std::string& target,
                                 const VersionThreeOnly& own);

// In a window of its own: the summary of the run, then a wait for Enter.
// Elsewhere nothing.
void end_in_own_window(const Brin23Words& w, const RunDone& done);

#endif
