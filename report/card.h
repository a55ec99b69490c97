// What the reference card shows, decided before it is drawn: for each
// version read, each key of the drawing with its commands, the sibling tools
// that take it, its state and how its text fits; each joystick card with the
// controls it lists and those left free; the keys the drawing can't show in
// full or at all; the conflicts and the unbound commands; then the
// differences between the versions. build_card fills it from the report's
// model; the page writer only turns it into markup.
#ifndef MALVET_REPORT_CARD_H
#define MALVET_REPORT_CARD_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "report/bindings.h"
#include "report/key_text_fit.h"
#include "report/keyboard_layout.h"
#include "report/texts.h"

// A key's state on the drawing: bound by a command of the version, else
// taken by a sibling tool (by a line read before an error too), else free;
// or, while a tool's settings could not be read to their end, not known
// (that tool may take it).
enum class KeyState { free, bound, taken, unknown };

// A key of the drawing.
struct CardKey {
  KeyPlace place;
  // The ISO keyboard's tall Enter: its wider top, drawn beside its place.
  std::optional<KeyPlace> enter_top;
  std::string name;  // as the report names the key
  KeyState state = KeyState::free;
  bool conflict = false;           // bound twice, or bound and taken
  std::vector<std::string> lines;  // its commands, each once in row order, then its tools
  std::size_t commands = 0;        // how many of the lines are commands
  // The tools read short that may take it too, besides those that do.
  std::vector<std::string> may_also;
  KeyText fit;      // the text's size, and which lines show
  PhoneName phone;  // its name on a phone's map
  // What a screen reader says of it: "F10: taken by Serunt", "A: Pause,
  // Brake (conflict)", "Q: free", "K: Brake, may also be Palvik's: its
  // file could not be read to its end".
  MixedText label;
};

// A key bound that the drawing has no place for.
struct OffDrawingKey {
  MixedText place;  // the binding's text and its value: "Unrecognized key (300)"
  std::string command;
  bool conflict = false;
};

// An axis or a button on a joystick's card.
struct CardControl {
  std::int32_t index = 0;             // -1: a value that names no button
  std::string label;                  // own words: "X Axis", "Button 3", "?"
  std::vector<std::string> commands;  // each once; none when it is free
  bool conflict = false;
};

// A joystick's free axes or buttons told in one line: "Buttons 6–11, 14
// free". Each run is its first control's name and, for three or more in a
// row, its last's (empty for one alone).
struct FreeLine {
  std::string head, tail;  // own words: "Buttons", "free"
  std::vector<std::pair<std::string, std::string>> runs;
};

// A joystick section's card.
struct JoystickCard {
  std::string header;  // the section's header in controls.ini
  bool attached = false;
  std::string name;  // attached: the joystick's name
  // Attached: its axes and buttons, those it declares and those bound
  // beyond. Not attached: its bindings, each value read as a button's.
  std::vector<CardControl> axes, buttons;
  std::optional<FreeLine> free_axes, free_buttons;  // attached, when some are free
};

// A key, button or axis bound twice, or bound and taken.
struct CardConflict {
  std::string place;
  std::vector<std::string> commands, tools;
};

// Free keys that run along a row of one block of the keyboard, told as one:
// "F5–F9" (the first and last of three or more), or a key alone.
struct KeyRun {
  std::string first, last;         // last empty for a key alone
  std::vector<std::string> names;  // every key of the run
};

struct VersionCard {
  int version = 0;
  std::string file;                     // the controls.ini read
  std::vector<CardKey> keys;            // every key of the drawing, in its order
  std::vector<std::size_t> part_shown;  // the keys that show only a part of their lines
  std::vector<OffDrawingKey> off_drawing;
  // The keys of the drawing and of the scan-code table that nothing binds
  // or takes, as the reports list them, in keyboard order.
  std::vector<KeyRun> free_keys;
  std::vector<JoystickCard> joysticks;  // a card a section, an attached joystick once
  std::vector<CardConflict> conflicts;
  std::vector<std::string> unbound;  // the commands bound to nothing
};

// A command whose last bindings differ between the versions.
struct CardDifference {
  std::string command;
  MixedText version2, version3;  // its bindings in each
};

struct Card {
  KeyboardKind keyboard = KeyboardKind::ansi;
  // What the reports say first: a simulator running, a version left out
  // because its log could not be read, a tool's file not read to its end.
  std::vector<MixedText> notices;
  // The versions left out, each with what the reports say of it.
  std::vector<std::pair<int, MixedText>> left_out;
  // The tools whose file could not be read to its end, each with what the
  // reports say of it: the free keys can't be told while there is one.
  std::vector<MixedText> unread_tools;
  std::vector<VersionCard> versions;
  bool compared = false;  // both versions read: their differences
  std::vector<CardDifference> differences;
};

// What the card of the model shows, in the language of `texts`.
Card build_card(const ReportModel& model, const ReportTexts& texts);

// A binding's text (binding_text, trimmed): the key's name, or own words.
MixedText binding_words(const Binding& binding, const ReportTexts& texts);

// A binding's text, and after a button's or an axis's the joystick's name:
// "Button 3 (Stick)".
MixedText binding_place(const Binding& binding, const ReportTexts& texts);

// The bindings of the command at `position` of a version, each as
// binding_place, joined by ", ".
MixedText bindings_of(const VersionModel& version, std::int32_t position, const ReportTexts& texts);

#endif
