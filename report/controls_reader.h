// A pilot's controls.ini read into one version's part of the model.
//
// controls.ini is read 80 characters a line. A line whose first character is
// "[" opens a device section; every other non-blank line is an entry
// "command number=value". The keyboard section is the one with the most
// entries numbered 3000..3999 (the first of equal ones); a later section whose
// header is exactly an attached joystick's header text describes that
// joystick. A keyboard entry's value is a scan code; an attached joystick's is
// 48 + a button index for a command from 3000 on and an axis (value modulo
// 1000, divided by 4) below 3000; of another section only the commands above
// 3000 count, as bound to no keyboard key.
#ifndef MALVET_REPORT_CONTROLS_READER_H
#define MALVET_REPORT_CONTROLS_READER_H

#include <vector>

#include "report/bindings.h"
#include "shared/textfile.h"

// What the reading of a controls.ini needs and does not change.
struct ControlsContext {
  const ScanCodeTable& keys;
  const std::vector<Joystick>& joysticks;
  bool digits_named;  // the top row's keys 2..10 named by their digits
};

// Reads a controls.ini of the version `model.version` in two passes, each
// over the lines that `open` gives from their start: the device sections,
// then the bindings, which go to `model.bindings` in file order (not yet
// sorted, without the unbound commands), with the last value of each command
// in `model.k_cmd` and the keys whose names differ from the table's. Only
// what the passes use is kept, however long the file. Entries that do not
// read, lie before the first section or past any capacity are left out.
// False, the model untouched, when a read error stopped a pass, or when the
// file changed between the passes at every one of a few tries.
bool read_controls_file(const LineOpener& open, const CommandTable& commands,
                        const ControlsContext& ctx, VersionModel& model);

#endif
