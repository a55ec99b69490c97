#include "shared/controls_grammar.h"

#include "shared/text.h"

ControlsLine read_controls_line(std::string_view line) {
  ControlsLine read;
  read.line = line;
  if (is_blank(line)) return read;
  if (line[0] == '[') {
    read.kind = ControlsLine::Kind::header;
    read.header = trim(line);
    return read;
  }
  read.kind = ControlsLine::Kind::entry;
  KeyVal kv = extract_key_val(line);
  read.number = read_whole_number(kv.key);
  read.key = std::move(kv.key);
  read.value = std::move(kv.val);
  return read;
}

bool walk_controls_file(LineSource& source, const std::function<void(const ControlsLine&)>& each) {
  while (std::optional<std::string> line = source.next()) each(read_controls_line(*line));
  return !source.failed();
}
