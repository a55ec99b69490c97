#include "converter/names.h"

#include "shared/controls_grammar.h"
#include "shared/text.h"
#include "shared/textfile.h"

Names Names::read(const std::string& folder, Language language) {
  Names names;
  const char* files[2] = {command_table_v2, command_table_v3};
  for (int v = 0; v < 2; ++v) {
    LineReader in(folder + files[v], line_capacity);
    std::int32_t lmax = 0;
    if (in.is_open()) names.commands_[v] = load_commands(in, lmax);
    if (!names.commands_[v]) names.unread_.push_back(files[v]);
  }
  ScanTableChoice table = scan_table_of(language);
  LineReader keys(folder + table.file, line_capacity);
  if (keys.is_open()) names.keys_ = load_scan_codes(keys);
  if (!names.keys_) names.unread_.push_back(table.file);
  names.digits_named_ = table.digits_named;
  names.joysticks_ = read_joysticks(Trace::no);
  return names;
}

std::string Names::command(int version, std::int32_t number) const {
  const std::optional<CommandTable>& table = commands_[version == 2 ? 0 : 1];
  const std::string* name = table ? command_name(*table, number) : nullptr;
  std::string digits = std::to_string(number);
  return name != nullptr ? trim(*name) + " (" + digits + ")" : digits;
}

bool Names::renamed(std::int32_t v2, std::int32_t v3) const {
  if (!commands_[0] || !commands_[1]) return false;
  const std::string* before = command_name(*commands_[0], v2);
  const std::string* after = command_name(*commands_[1], v3);
  return before != nullptr && after != nullptr && trim(*before) != trim(*after);
}

const std::string* Names::joystick(std::string_view header) const {
  for (const Joystick& joy : joysticks_) {
    if (!joy.guid.empty() && same_text(header, joy.guid)) return &joy.name;
  }
  return nullptr;
}

std::string Names::input(std::int32_t command, std::string_view value, bool keyboard,
                         std::string_view joystick_name, const InputWords& words,
                         std::string_view key_number) const {
  std::optional<Input> takes = input_of(command, value, keyboard);
  if (!takes) return "";
  std::int32_t index = static_cast<std::int32_t>(takes->index);
  switch (takes->kind) {
    case Input::Kind::key: {
      if (!keys_) {
        std::string words_for_it(key_number);
        std::size_t mark = words_for_it.find('#');
        if (mark != std::string::npos) words_for_it.replace(mark, 1, std::to_string(index));
        return words_for_it;
      }
      for (const ScanCode& key : *keys_) {
        if (key.code != index) continue;
        std::string name = key_display_name(index, digits_named_, Trace::no);
        return name.empty() ? trim(key.name) : name;
      }
      return trim(words.nokey);
    }
    case Input::Kind::button:
      return takes->index < 0 ? "" : button_text(index, words);
    case Input::Kind::axis:
      return index < 0 ? "" : axis_text(index, joystick_name, words);
  }
  return "";
}
