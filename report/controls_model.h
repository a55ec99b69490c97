// A pilot's controls.ini read into the assignment model, and the rows of the
// report made from it.
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
#ifndef MALVET_REPORT_CONTROLS_MODEL_H
#define MALVET_REPORT_CONTROLS_MODEL_H

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/probing.h"
#include "report/report_files.h"
#include "report/rows.h"
#include "report/tables.h"
#include "shared/textfile.h"

inline constexpr std::size_t maxjoy = 32;   // attached joysticks
inline constexpr std::size_t maxaxe = 32;   // highest axis index
inline constexpr std::size_t maxbut = 512;  // highest button index
inline constexpr std::size_t maxdev = 64;   // device sections of one file
inline constexpr std::size_t joystick_text_capacity = 64;
inline constexpr std::int32_t never_bound = -99;

struct Joystick {
  std::string name;          // joyname: the product name
  std::string guid;          // joyguid: the section header text of the device
  std::int32_t axes = 0;     // joynumaxe
  std::int32_t buttons = 0;  // joynumbut
};

// What the reading of a controls.ini needs and does not change.
struct ReportContext {
  const ScanCodeTable& keys;
  const std::vector<Joystick>& joysticks;
  const Layout& layout;
  const ReportTexts& texts;
};

struct AssignmentModel {
  AssignmentModel();

  // Per run: the last binding value of each command position of versions 2
  // and 3 (never_bound when none), and the keys, axes and buttons in use.
  std::array<std::vector<std::int32_t>, 2> k_cmd;
  std::vector<bool> q_key;               // parallel to the scan-code table
  std::vector<std::vector<bool>> q_axe;  // [joystick 0..31][axis 0..32]
  std::vector<std::vector<bool>> q_but;  // [joystick 0..31][button 0..512]

  // Per version.
  std::vector<bool> q_cmd;        // command positions bound at least once
  std::vector<Binding> bindings;  // the version's rows, at most 256

  std::vector<std::int32_t>& k_cmd_of(int version) { return k_cmd[version - 2]; }
};

// The device sections of one file, as the first pass finds them.
struct DeviceTable {
  std::int32_t ndev = 0;
  std::array<std::int32_t, maxdev + 1> nb_cmd_dev{};  // 1-based
  std::array<std::int32_t, maxdev + 1> joyid{};       // 1-based; 0: no joystick
  std::int32_t ikbd = 0;
  std::int32_t max_cmd_dev = 0;
  std::vector<std::string> headers;  // each section's header line, from section 1
};

// Reads an open controls.ini of `version` once to its end, then makes two
// passes over its lines: the device sections, then the bindings, which go to
// `model.bindings` (in file order, not yet sorted, without the unbound
// commands) and mark commands, keys, axes and buttons as bound. Entries that
// do not read, lie before the first section or past any capacity are left
// out. Nothing, the model untouched, when a read error stopped the reading.
std::optional<DeviceTable> read_controls_file(LineSource& in, int version,
                                              const CommandTable& commands,
                                              const ReportContext& ctx, AssignmentModel& model);

// Adds a binding for every command of the table that nothing binds, then
// sorts the bindings by command position, keeping the file's order within a
// command.
void finish_rows(const CommandTable& commands, const ReportContext& ctx, AssignmentModel& model);

// The name of the key with scan code `code` as the report shows it: the digit
// on the French top row's keys 2..10, else the layout's name.
std::string key_display_name(std::int32_t code, bool qfr, Trace trace = Trace::yes);

#endif
