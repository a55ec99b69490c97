// How Brin23's receipt names commands and what bindings take, as the
// report names them: the command tables of both versions, the scan-code
// table of the run's language, the joysticks attached. What can't be read
// is named by its number; the conversion never depends on it.
#ifndef MALVET_CONVERTER_NAMES_H
#define MALVET_CONVERTER_NAMES_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/devices.h"
#include "shared/tables.h"
#include "shared/words.h"

class Names {
 public:
  Names() = default;

  // The tables in `folder` (with its final "\", empty for the working
  // folder) and the joysticks attached, read with no console trace.
  static Names read(const std::string& folder, Language language);

  // The table files that could not be read to their end.
  const std::vector<std::string>& unread() const { return unread_; }

  // "Tow plane view (3027)", or "3027" when version 2 (`version` 2) or 3
  // has no name for it.
  std::string command(int version, std::int32_t number) const;

  // True when both tables name the commands, and differently.
  bool renamed(std::int32_t v2, std::int32_t v3) const;

  // The name of the joystick attached whose section has this header; none.
  const std::string* joystick(std::string_view header) const;

  // What the binding of `command` to `value` takes, as the report names it:
  // in the keyboard section (`keyboard`) the key's name ("Unrecognized key"
  // for one the table lacks; "Key 61" when the table can't be read); else a
  // button ("Button 5") or an axis ("X Axis") of the joystick
  // `joystick_name`. Empty for a value that names nothing.
  std::string input(std::int32_t command, std::string_view value, bool keyboard,
                    std::string_view joystick_name, const InputWords& words,
                    std::string_view key_number) const;

 private:
  // Each version's command table (nothing when it can't be read).
  std::optional<CommandTable> commands_[2];
  std::optional<ScanCodeTable> keys_;
  mutable std::map<std::int32_t, std::string> key_names_;  // as they are asked for
  bool digits_named_ = false;
  std::vector<Joystick> joysticks_;
  std::vector<std::string> unread_;
};

#endif
