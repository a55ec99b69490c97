// The devices a binding takes its input from, named as the programs show
// them: keys by name in the current keyboard layout, the attached joysticks,
// and a joystick's buttons and axes in the run's words.
//
// A key code packs a key and its modifiers: q = code / 10000 (toward zero),
// k = code - q * 10000, and when k > 5000, k -= 10000 and q += 1. A negative
// k is minus a scan code (256 and more: an extended key); k >= 0 is a
// character code. The bits of q add the prefixes LONG+ (8), CTRL+ (1),
// SHFT+ (2) and ALT+ (4), always in that order.
#ifndef MALVET_SHARED_DEVICES_H
#define MALVET_SHARED_DEVICES_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/console.h"
#include "shared/words.h"

inline constexpr std::size_t maxjoy = 32;  // attached joysticks
inline constexpr std::size_t joystick_text_capacity = 64;

// An extended key (E0 prefix) is named by its scan code with 128 added; a
// code above 256 (in the scan-code table, a sibling tool's settings) has
// 128 added again, and stands for the key 128 below it.
inline constexpr std::int32_t extended_key_added = 128;
inline constexpr std::int32_t highest_plain_code = 256;
inline std::int32_t key_value_of(std::int32_t code) {
  return code > highest_plain_code ? code - extended_key_added : code;
}

struct Joystick {
  std::string name;          // joyname: the product name
  std::string guid;          // joyguid: the section header text of the device
  std::int32_t axes = 0;     // joynumaxe
  std::int32_t buttons = 0;  // joynumbut
};

// The name of the key with scan code `c` as the report shows it: what
// GetKeyNa gives for -c, or, when that has no name, for -128 - c (the
// extended key of base code c - 128 when c is above 256, for instance). Codes
// whose negation can't be a key code get the name that could be made. With
// Trace::no the codes asked for are not written to the console.
std::string scan_code_name(std::int32_t c, Trace trace = Trace::yes);

// The digit that a key of the top row, 2..10, shows when it is named by its
// digit (1..9); nothing for any other key.
std::optional<std::string> top_row_digit(std::int32_t code);

// The name of the key with scan code `code` as the report shows it: its
// top-row digit when `digits_named` (the French keyboard, whose layout
// names those keys "&", "é"...), else the layout's name.
std::string key_display_name(std::int32_t code, bool digits_named, Trace trace = Trace::yes);

// Writes the prefixes and the key's name into `s`, cut at 31 characters, and
// returns the length of the name alone: 1 for a character key, 0 when the
// layout has no name for the scan code (then `s` holds the prefixes only).
std::int32_t get_key_name(std::int32_t ThisKey, std::string& s);

// get_key_name with the code traced on the console.
std::int32_t GetKeyNa(std::int32_t iv, std::string& keyn);

// The number of joystick slots to examine: one more than the highest slot
// that answers, 0 when none does.
std::int32_t GetNumJoy(Trace trace = Trace::yes);

// Fills the description of the joystick in slot `id` and returns 1, or
// returns 0 with the outputs untouched when the slot holds none. `JGuid` is
// the section header by which controls.ini knows the device,
// "[{9F6A1A40-D1E6-11E9-8001-444553540000}]", made from the 16 bytes of its
// DirectInput calibration GUID (empty when they can't be read); `JName` is
// its OEM product name (empty when it can't be read), cut at 128.
std::int32_t GetJoyInfo(std::int32_t id, std::string& JGuid, std::string& JName,
                        std::int32_t& JNumAxe, std::int32_t& JNumBut, Trace trace = Trace::yes);

// The section header text of a joystick from the 16 bytes of its identifier:
// "[{" b3 b2 b1 b0 "-" b5 b4 "-" b7 b6 "-" b8 b9 "-" b10 b11 b12 b13 "0000}]".
std::string joystick_header(const std::string& guid_bytes);

// The joysticks of the slots that GetNumJoy counts (at most 32), each
// described by GetJoyInfo, its name and header text cut at 64; the console
// shows each one unless `trace` is no.
std::vector<Joystick> read_joysticks(Trace trace = Trace::yes);

// The joystick whose axes 6 and 8 are a slider and a hat switch.
inline constexpr std::string_view sidewinder_ff2 = "SideWinder Force Feedback 2 Joystick";

// An axis's name: "X", "Y" and "Z" for the first three, else its number.
std::string axis_name(std::int32_t axis);

// The axis as the programs name it: "X Axis" ("Axe X"), "4 Axis", and the
// slider and hat switch of the SideWinder Force Feedback 2.
std::string axis_text(std::int32_t axis, std::string_view joystick_name, const InputWords& words);

// A button as the programs name it: "Button 3" ("Bouton 3").
std::string button_text(std::int32_t button, const InputWords& words);

#endif
