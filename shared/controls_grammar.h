// controls.ini as both programs read it. Each line holds at most 80
// characters (the reader cuts the rest). A line that is empty or only
// blanks is nothing; a line whose first character is "[" opens a section,
// its header the line trimmed; every other line is an entry "command
// number=value", split at its first "=" (or ":" when it has none), its
// number read as a whole number in free form (an entry whose number does not
// read names no command).
#ifndef MALVET_SHARED_CONTROLS_GRAMMAR_H
#define MALVET_SHARED_CONTROLS_GRAMMAR_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "shared/textfile.h"

struct ControlsLine {
  enum class Kind { blank, header, entry };
  Kind kind = Kind::blank;
  std::string_view line;               // the line as read
  std::string header;                  // a header: the line trimmed
  std::string key, value;              // an entry's parts, as split (left-justified)
  std::optional<std::int32_t> number;  // an entry's command number, when it reads
};

// What one line of controls.ini is.
ControlsLine read_controls_line(std::string_view line);

// Goes over the lines of `source` to its end, handing `each` what each line
// is, blank lines included (for a reader that tells two passes apart). False
// when a read error, not the end, stopped it.
bool walk_controls_file(LineSource& source, const std::function<void(const ControlsLine&)>& each);

#endif
