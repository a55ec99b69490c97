// The report's model: what the readers find (the tables, the joysticks, each
// version's controls.ini, the sibling tools' keys) and what is found from it
// (the conflicts, the differences, the keys, axes and buttons nothing uses),
// all of it before anything is written. Readers fill it, writers draw it;
// neither includes the other.
#ifndef MALVET_REPORT_BINDINGS_H
#define MALVET_REPORT_BINDINGS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "shared/controls_grammar.h"
#include "shared/devices.h"
#include "shared/tables.h"

// ---- Capacities ----------------------------------------------------------------

inline constexpr std::size_t maxaxe = 32;   // highest axis index
inline constexpr std::size_t maxbut = 512;  // highest button index
inline constexpr std::size_t maxdev = 64;   // device sections of one controls.ini

// The value of a command that nothing binds.
inline constexpr std::int32_t never_bound = -99;

// The button that a joystick section's value names, -1 when it names none
// the model holds (below 48, above 48 + 512).
inline std::int32_t button_of_value(std::int32_t value) {
  std::int64_t index = button_index(value);
  return index >= 0 && index <= static_cast<std::int64_t>(maxbut) ? static_cast<std::int32_t>(index)
                                                                  : -1;
}

// ---- The devices -----------------------------------------------------------------

// What a device section of controls.ini describes.
enum class SectionKind {
  keyboard,      // the one with the most entries numbered 3000..3999, the first of equal ones
  joystick,      // an attached joystick's: its header is that joystick's text
  not_attached,  // any other: a device that is not plugged in
};

// A device section of one controls.ini.
struct Section {
  std::string header;  // its header line, trimmed
  SectionKind kind = SectionKind::not_attached;
  // The attached joystick whose header text it has (from 1), 0 for none;
  // the keyboard's section keeps it, read as the keyboard all the same.
  std::int32_t joystick = 0;
  std::int32_t key_commands = 0;  // nb_cmd_dev: its entries numbered 3000..3999
};

// The device sections of one controls.ini, in file order (at most maxdev).
struct DeviceTable {
  std::vector<Section> sections;
  std::int32_t max_cmd_dev = 0;  // the keyboard section's count of entries 3000..3999

  // The given names, sections numbered from 1: how many there are, the
  // keyboard's (0 for none), the joystick of section `s` (0 for none).
  std::int32_t ndev() const { return static_cast<std::int32_t>(sections.size()); }
  std::int32_t ikbd() const {
    for (std::size_t s = 0; s < sections.size(); ++s) {
      if (sections[s].kind == SectionKind::keyboard) return static_cast<std::int32_t>(s + 1);
    }
    return 0;
  }
  std::int32_t joyid(std::int32_t s) const {
    return s >= 1 && s <= ndev() ? sections[static_cast<std::size_t>(s - 1)].joystick : 0;
  }
};

// The keyboard that the page draws.
enum class KeyboardKind {
  ansi,   // the US keyboard: one-row Enter, a long left Shift
  iso,    // the European keyboard: a tall Enter, an extra key beside left Shift
  abnt2,  // Brazil's: ISO's, with a key left of a short right Shift and a pad's "."
};

// ---- The bindings ----------------------------------------------------------------

enum class BindingKind {
  key,               // a keyboard-section value found in the scan-code table
  unrecognised_key,  // a keyboard-section value that the table lacks
  button,            // a button of an attached joystick
  axis,              // an axis of an attached joystick
  not_attached,      // a command bound on a device that is not attached
  unbound,           // a command that nothing binds
};

// One row of a version's block.
struct Binding {
  std::int32_t position = 0;  // the command's position in its table, from 0
  std::string command;        // the command's name
  BindingKind kind = BindingKind::unbound;
  // Key and unrecognised key: the controls.ini value (the scan code, 128
  // added for an extended key); button and axis: the index, from 0; not
  // attached: the value as written, 0 when it does not read.
  std::int32_t code = 0;
  std::string key_name;       // key: its name as the report gives it
  std::int32_t joystick = 0;  // button and axis: the joystick's number, from 1
  std::string device;         // button and axis: the joystick's name; not attached: the
                              // section's header
};

// A key, joystick button or axis bound to more than one command of a version,
// or a key that the simulator and a sibling tool both use.
struct Conflict {
  BindingKind on = BindingKind::key;  // key, button or axis
  std::int32_t code = 0;              // the key's controls.ini value, or the index
  std::int32_t joystick = 0;          // button and axis: the joystick's number
  std::string place;                  // what the report calls it: "A", "Button 3 Stick"
  std::vector<std::string> commands;  // each command bound there once, in row order
  std::vector<std::string> tools;     // the sibling tools that take the key
};

// A key whose name in the scan-code table differs from the layout's, for the
// log.
struct KeyNameDifference {
  std::string table_name;
  std::string display_name;
};

// What reading one version's controls.ini came to.
enum class FileOutcome {
  read,        // read to its end
  not_found,   // missing (or its name too long for its field)
  unreadable,  // there, but it can't be opened or read to its end
};

// One version's controls.ini and what is found in it.
struct VersionModel {
  int version = 0;
  std::string ctrfile;  // the controls.ini, as the report names it
  FileOutcome outcome = FileOutcome::read;
  DeviceTable devices;
  // Its rows: every binding, then every command bound to nothing, sorted by
  // command position (the file's order within a command).
  std::vector<Binding> bindings;
  // The last binding value of each command position (never_bound when none).
  std::vector<std::int32_t> k_cmd;
  std::vector<KeyNameDifference> key_name_differences;  // in the file's order
  std::vector<Conflict> conflicts;                      // in the order of their rows
  // The axis commands of the sections of devices not plugged in, which the
  // reports leave out and the card shows on their device's card: each as a
  // binding of kind axis, its device the section's header.
  std::vector<Binding> unattached_axes;
};

// ---- The sibling tools -----------------------------------------------------------

// A key line of a sibling tool's settings.
struct TakenKey {
  std::string setting;  // the line's key, "KeyMenu"
  std::string text;     // the key as the report prints it
  std::int32_t code;    // the scan code of the table entry it marked; -1 when none
  std::int32_t entry;   // that entry's place in the scan-code table; -1 when none
};

// A sibling tool whose settings file was found.
struct ToolKeys {
  std::string tool;  // "Palvik", "Serunt"
  std::string path;  // its settings file, as the report names it
  std::vector<TakenKey> keys;
  bool whole =
      true;  // opened and read to its end; the keys read before an error count all the same
};

// ---- What is found ---------------------------------------------------------------

// A command of both versions whose last bindings differ.
struct Difference {
  std::string command;
  std::int32_t position2 = 0;  // its position in each version's table
  std::int32_t position3 = 0;
};

// A key of the scan-code table that nothing uses.
struct UnusedKey {
  std::int32_t code;
  std::string name;  // as the report names it
};

// The axes and buttons of an attached joystick that nothing uses.
struct FreeControls {
  std::vector<std::int32_t> axes;
  std::vector<std::int32_t> buttons;
};

// ---- The whole -------------------------------------------------------------------

struct ReportModel {
  // The versions left out because the simulator's log could not be read:
  // each with that log's name.
  std::vector<std::pair<std::int32_t, std::string>> unreadable_logs;
  // The simulators running while the files were read: each version (2 or
  // 3), 0 for one of another folder, each once.
  std::vector<std::int32_t> running;
  KeyboardKind keyboard = KeyboardKind::ansi;
  ScanCodeTable keys;
  std::vector<Joystick> joysticks;
  // The versions read, 2 before 3; the last one read may have failed (its
  // outcome says how), and the run then stops after writing what came
  // before it.
  std::vector<VersionModel> versions;
  bool compared = false;  // both versions read: their differences
  std::vector<Difference> differences;
  std::vector<ToolKeys> tools;  // the sibling tools whose settings file is there
  std::vector<UnusedKey> unused_keys;
  std::vector<FreeControls> free_controls;  // of each joystick
  // The name the report gives each key of the drawing, by controls.ini value.
  std::vector<std::pair<std::int32_t, std::string>> key_names;
  // The version-3 commands that version 2 names otherwise, by the table of
  // command numbers: each version-3 name with its version-2 name.
  std::vector<std::pair<std::string, std::string>> former_names;
};

#endif
