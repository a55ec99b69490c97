// controls.ini as both programs read it. Each line holds at most 80
// characters (the reader cuts the rest). A line that is empty or only
// blanks is nothing; a line whose first character is "[" opens a section,
// its header the line trimmed; every other line is an entry "command
// number=value", split at its first "=" (or ":" when it has none), its
// number read as a whole number in free form (an entry whose number does not
// read names no command).
//
// What an entry's value means depends on its command and its section. The
// commands numbered 3000..3999 are keys: the keyboard section is the one
// with the most of them, the first of equal ones, and there a value is a key
// code. In any other section (a joystick's) a command from 3000 on is a
// button, its value 48 + the button's index, and one below 3000 an axis,
// its index (value modulo 1000) / 4.
#ifndef MALVET_SHARED_CONTROLS_GRAMMAR_H
#define MALVET_SHARED_CONTROLS_GRAMMAR_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "shared/textfile.h"

inline constexpr std::int32_t first_key_command = 3000;
inline constexpr std::int32_t last_key_command = 3999;
inline constexpr std::int32_t first_button_value = 48;
inline constexpr std::int32_t axis_block = 1000;
inline constexpr std::int32_t axis_step = 4;

constexpr bool is_key_command(std::int32_t command) {
  return command >= first_key_command && command <= last_key_command;
}

// A joystick's button of a value; below 0 for a value under 48.
constexpr std::int64_t button_index(std::int32_t value) {
  return std::int64_t{value} - first_button_value;
}

// A joystick's axis of a value (negative for a negative value).
constexpr std::int32_t axis_index(std::int32_t value) { return (value % axis_block) / axis_step; }

// A header's name, as Windows' profile functions read a section's: the text
// between its "[" and its first "]" (to its end without one), the blanks and
// tabs around it left out: "[Keyboard]\t", "[ Keyboard ]" and "[Keyboard] ;
// note" all name Keyboard. Two headers name one section when their names
// are the same, letter case aside.
std::string_view section_name(std::string_view header);
bool same_section(std::string_view a, std::string_view b);

// What a binding takes: a key (its code), a joystick's button or axis (its
// index).
struct Input {
  enum class Kind { key, button, axis };
  Kind kind = Kind::key;
  std::int64_t index = 0;
  bool operator==(const Input& other) const { return kind == other.kind && index == other.index; }
};

// What the binding of `command` to `value` takes in the keyboard section
// (`keyboard`) or in another one; nothing for a value that does not read as
// a whole number.
std::optional<Input> input_of(std::int32_t command, std::string_view value, bool keyboard);

// The keyboard section, chosen as the lines go by: the first of the
// sections with the most entries of key commands; none while no section
// has one.
class KeyboardSection {
 public:
  // A section begins: the next number, from 0 in file order.
  std::size_t begin_section();
  // An entry of the section begun last (none before the first); true when
  // its key command made that section the keyboard's.
  bool entry(std::optional<std::int32_t> command);
  std::optional<std::size_t> chosen() const { return chosen_; }
  // The key commands of the chosen section, and of the one begun last.
  std::int32_t most() const { return most_; }
  std::int32_t current() const { return count_; }

 private:
  std::size_t sections_ = 0;
  std::int32_t count_ = 0, most_ = 0;
  std::optional<std::size_t> chosen_;
};

// What a line is; its texts are views of the line, which they last as long
// as.
struct ControlsLine {
  enum class Kind { blank, header, entry };
  Kind kind = Kind::blank;
  std::string_view line;               // the line as read
  std::string_view header;             // a header: the line trimmed
  std::string_view key, value;         // an entry's parts, as split (left-justified)
  std::optional<std::int32_t> number;  // an entry's command number, when it reads
};

// What one line of controls.ini is.
ControlsLine read_controls_line(std::string_view line);

// Goes over the lines of `source` to its end, handing `each` what each line
// is, blank lines included (for a reader that tells two passes apart). False
// when a read error, not the end, stopped it.
bool walk_controls_file(LineSource& source, const std::function<void(const ControlsLine&)>& each);

#endif
