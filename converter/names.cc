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
    std::optional<CommandTable>& table = names.commands_[v];
    if (in.is_open()) table = load_commands(in, lmax);
    // (A name is read without the blanks around it.)
    if (!table) names.unread_.push_back(files[v]);
  }
  ScanTableChoice table = scan_table_of(language);
  LineReader keys(folder + table.file, line_capacity);
  if (keys.is_open()) names.keys_ = load_scan_codes(keys);
  if (!names.keys_) names.unread_.push_back(table.file);
  names.digits_named_ = table.digits_named;
  names.joysticks_ = read_joysticks(Trace::no);
  return names;
}

namespace {

const std::string* name_of(const std::optional<CommandTable>& table, std::int32_t number) {
  return table ? command_name(*table, number) : nullptr;
}

}  // namespace

std::string Names::command(int version, std::int32_t number) const {
  const std::string* name = name_of(commands_[version == 2 ? 0 : 1], number);
  std::string digits = std::to_string(number);
  return name != nullptr ? *name + " (" + digits + ")" : digits;
}

bool Names::renamed(std::int32_t v2, std::int32_t v3) const {
  const std::string* before = name_of(commands_[0], v2);
  const std::string* after = name_of(commands_[1], v3);
  return before != nullptr && after != nullptr && *before != *after;
}

const std::string* Names::joystick(std::string_view header) const {
  for (const Joystick& joy : joysticks_) {
    if (!joy.guid.empty() && same_section(header, joy.guid)) return &joy.name;
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
      auto known = key_names_.find(index);
      if (known != key_names_.end()) return known->second;
      std::string name = trim(words.nokey);
      for (const ScanCode& key : *keys_) {
        if (key.code != index) continue;
        name = key_display_name(index, digits_named_, Trace::no);
        if (name.empty()) name = trim(key.name);
        break;
      }
      return key_names_.emplace(index, name).first->second;
    }
    case Input::Kind::button:
      return takes->index < 0 ? "" : button_text(index, words);
    case Input::Kind::axis:
      return index < 0 ? "" : axis_text(index, joystick_name, words);
  }
  return "";
}
