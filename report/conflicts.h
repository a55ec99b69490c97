// What collides in one version's bindings: a key, joystick button or axis
// bound to more than one command, and a key that the simulator and a sibling
// tool (Palvik, Serunt) both use.
#ifndef MALVET_REPORT_CONFLICTS_H
#define MALVET_REPORT_CONFLICTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "report/rows.h"
#include "report/sibling.h"

// The keys that one sibling tool takes.
struct ToolKeys {
  std::string tool;  // "Palvik", "Serunt"
  std::vector<TakenKey> keys;
};

struct Conflict {
  BindingKind on = BindingKind::key;  // key, button or axis
  std::int32_t code = 0;              // the key's controls.ini value, or the index
  std::int32_t joystick = 0;          // button and axis: the joystick's number
  std::string place;                  // what the report calls it: "A", "Button 3 Stick"
  std::vector<std::string> commands;  // each command bound there once, in row order
  std::vector<std::string> tools;     // the sibling tools that take the key
};

// The conflicts of one version, in the order of the rows they come from.
// An unrecognised key counts as a key.
std::vector<Conflict> find_conflicts(const std::vector<Binding>& bindings,
                                     const std::vector<ToolKeys>& tools, const ReportTexts& texts);

// "key A: Release tow, Pause, Palvik", for the console trace.
std::string conflict_line(const Conflict& conflict);

#endif
