#include "shared/controls_grammar.h"

#include "shared/text.h"

ControlsLine read_controls_line(std::string_view line) {
  ControlsLine read;
  read.line = line;
  if (is_blank(line)) return read;
  if (line[0] == '[') {
    read.kind = ControlsLine::Kind::header;
    read.header = line.substr(0, line.find_last_not_of(' ') + 1);
    return read;
  }
  read.kind = ControlsLine::Kind::entry;
  KeyValView kv = split_key_val(line);
  read.number = read_whole_number(kv.key);
  read.key = kv.key;
  read.value = kv.val;
  return read;
}

bool walk_controls_file(LineSource& source, const std::function<void(const ControlsLine&)>& each) {
  while (std::optional<std::string> line = source.next()) each(read_controls_line(*line));
  return !source.failed();
}

std::string_view section_name(std::string_view header) {
  if (!header.empty() && header[0] == '[') header.remove_prefix(1);
  header = header.substr(0, header.find(']'));
  std::size_t first = header.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string_view();
  return header.substr(first, header.find_last_not_of(" \t") - first + 1);
}

bool same_section(std::string_view a, std::string_view b) {
  std::string_view na = section_name(a), nb = section_name(b);
  return na.size() == nb.size() && case_blind_compare(na, nb);
}

std::optional<Input> input_of(std::int32_t command, std::string_view value, bool keyboard) {
  std::optional<std::int32_t> n = read_whole_number(value);
  if (!n) return std::nullopt;
  if (keyboard) return Input{Input::Kind::key, *n};
  if (command >= first_key_command) return Input{Input::Kind::button, button_index(*n)};
  return Input{Input::Kind::axis, axis_index(*n)};
}

std::size_t KeyboardSection::begin_section() {
  count_ = 0;
  return sections_++;
}

bool KeyboardSection::entry(std::optional<std::int32_t> command) {
  if (sections_ == 0 || !command || !is_key_command(*command)) return false;
  if (++count_ <= most_) return false;
  most_ = count_;
  chosen_ = sections_ - 1;
  return true;
}
