#include "report/controls_reader.h"

#include <cstdio>
#include <memory>

#include "report/devices_reader.h"
#include "shared/console.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

constexpr std::int32_t first_key_command = 3000;
constexpr std::int32_t last_key_command = 3999;

// How often a controls.ini that changes while it is read is read again.
constexpr int controls_reads = 3;

bool is_header(const std::string& line) { return !line.empty() && line[0] == '['; }

// The first position of the command `number` in the table, -1 when absent.
int command_position(const CommandTable& commands, std::int32_t number) {
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (commands[i].number == number) return static_cast<int>(i);
  }
  return -1;
}

// The section that each line falls in: 0 before the first header and in the
// sections past the capacity, whose entries are left out.
class SectionCounter {
 public:
  // Counts a header; false when it lies past the capacity.
  bool open_section() {
    ++headers_;
    current_ = headers_ <= static_cast<std::int32_t>(maxdev) ? headers_ : 0;
    return current_ != 0;
  }
  std::int32_t current() const { return current_; }

 private:
  std::int32_t headers_ = 0;
  std::int32_t current_ = 0;
};

// Adds bindings to the version's rows while there is room: an entry that
// can't be stored binds nothing.
class BindingMaker {
 public:
  explicit BindingMaker(std::vector<Binding>& bindings) : bindings_(bindings) {}

  bool full() const { return bindings_.size() >= maxcmd; }

  void add(int position, const std::string& command, BindingKind kind, std::int32_t code = 0,
           std::string key_name = "", std::int32_t joystick = 0, std::string device = "") {
    if (full()) return;
    bindings_.push_back(
        {position, command, kind, code, std::move(key_name), joystick, std::move(device)});
  }

 private:
  std::vector<Binding>& bindings_;
};

// The first pass: the device sections; nothing when a read error stopped it.
std::optional<DeviceTable> find_devices(LineSource& in, const ControlsContext& ctx,
                                        LineDigest& digest) {
  DeviceTable dev;
  SectionCounter section;
  while (std::optional<std::string> read = in.next()) {
    const std::string& line = *read;
    digest.add(line);
    if (is_blank(line)) continue;
    if (is_header(line)) {
      if (!section.open_section()) continue;
      dev.ndev = section.current();
      dev.headers.push_back(trim(line));
      console_printf(" %s\n", line.c_str());
      std::int32_t& joyid = dev.joyid[static_cast<std::size_t>(dev.ndev)];
      joyid = 0;
      if (dev.ndev == 1) continue;
      for (std::size_t k = 0; k < ctx.joysticks.size(); ++k) {
        console_printf(" %s\n", ctx.joysticks[k].guid.c_str());
        if (same_text(line, ctx.joysticks[k].guid)) joyid = static_cast<std::int32_t>(k + 1);
      }
      if (joyid > 0) {
        console_printf(" %d %s\n", joyid,
                       ctx.joysticks[static_cast<std::size_t>(joyid - 1)].name.c_str());
      }
      continue;
    }
    if (section.current() == 0) continue;
    std::optional<std::int32_t> number = read_whole_number(extract_key_val(line).key);
    if (number && *number >= first_key_command && *number <= last_key_command) {
      ++dev.nb_cmd_dev[static_cast<std::size_t>(section.current())];
    }
  }
  for (std::int32_t i = 1; i <= dev.ndev; ++i) {
    if (dev.nb_cmd_dev[static_cast<std::size_t>(i)] > dev.max_cmd_dev) {
      dev.max_cmd_dev = dev.nb_cmd_dev[static_cast<std::size_t>(i)];
      dev.ikbd = i;
    }
  }
  if (in.failed()) return std::nullopt;
  console_printf(" %d %d\n", dev.ikbd, dev.max_cmd_dev);
  return dev;
}

void read_keyboard_entry(int i, std::int32_t mkey, const CommandTable& commands,
                         const ControlsContext& ctx, VersionModel& model, BindingMaker& rows) {
  const std::string& command = commands[static_cast<std::size_t>(i)].name;
  int j = -1;
  for (std::size_t k = 0; k < ctx.keys.size(); ++k) {
    if (ctx.keys[k].code == mkey) {
      j = static_cast<int>(k);
      break;
    }
  }
  if (j < 0) {
    rows.add(i, command, BindingKind::unrecognised_key, mkey);
    return;
  }
  const std::string& table_name = ctx.keys[static_cast<std::size_t>(j)].name;
  std::string display = key_display_name(mkey, ctx.digits_named);
  if (!case_blind_compare(display, table_name)) {
    model.key_name_differences.push_back({table_name, display});
  }
  rows.add(i, command, BindingKind::key, mkey, display);
}

// The second pass: the bindings of the sections `dev` found, into `model`.
// False when a read error stopped it, or the file proved not to be the one
// the first pass read (more sections than it found).
bool read_bindings(LineSource& in, const DeviceTable& dev, const CommandTable& commands,
                   const ControlsContext& ctx, VersionModel& model, LineDigest& digest) {
  model.bindings.clear();
  model.key_name_differences.clear();
  model.k_cmd.assign(maxcmd, never_bound);
  BindingMaker rows(model.bindings);
  std::vector<std::int32_t>& k_cmd = model.k_cmd;
  SectionCounter section;
  while (std::optional<std::string> read = in.next()) {
    const std::string& line = *read;
    digest.add(line);
    if (is_blank(line)) continue;
    if (is_header(line)) {
      section.open_section();
      if (section.current() > dev.ndev) return false;
      continue;
    }
    std::int32_t jf = section.current();
    if (jf == 0 || rows.full()) continue;
    KeyVal kv = extract_key_val(line);
    std::optional<std::int32_t> mcmd = read_whole_number(kv.key);
    if (!mcmd) continue;
    std::int32_t joy = dev.joyid[static_cast<std::size_t>(jf)];

    if (jf != dev.ikbd && joy == 0) {
      // A device that is not attached: only its key and button commands count.
      if (*mcmd <= first_key_command) continue;
      int i = command_position(commands, *mcmd);
      if (i < 0) continue;
      rows.add(i, commands[static_cast<std::size_t>(i)].name, BindingKind::not_attached,
               read_whole_number(kv.val).value_or(0), "", 0,
               dev.headers[static_cast<std::size_t>(jf - 1)]);
      continue;
    }

    std::optional<std::int32_t> mkey = read_whole_number(kv.val);
    if (!mkey) continue;
    int i = command_position(commands, *mcmd);
    if (i < 0) {
      console_printf(" %d Command not found\n", *mcmd);
      continue;
    }
    if (jf == dev.ikbd) {
      k_cmd[static_cast<std::size_t>(i)] = *mkey;
      read_keyboard_entry(i, *mkey, commands, ctx, model, rows);
      continue;
    }

    const Joystick& joystick = ctx.joysticks[static_cast<std::size_t>(joy - 1)];
    std::string device = trim(joystick.name);
    const std::string& command = commands[static_cast<std::size_t>(i)].name;
    if (*mcmd >= first_key_command) {
      std::int32_t b = button_of_value(*mkey);
      if (b < 0) continue;
      k_cmd[static_cast<std::size_t>(i)] = *mkey;
      rows.add(i, command, BindingKind::button, b, "", joy, device);
    } else {
      std::int32_t a = (*mkey % 1000) / 4;
      if (a < 0 || a > static_cast<std::int32_t>(maxaxe)) continue;
      k_cmd[static_cast<std::size_t>(i)] = *mkey;
      rows.add(i, command, BindingKind::axis, a, "", joy, device);
    }
  }
  model.devices = dev;
  return !in.failed();
}

}  // namespace

bool read_controls_file(const LineOpener& open, const CommandTable& commands,
                        const ControlsContext& ctx, VersionModel& model) {
  // Each pass reads the file from its start, keeping only what it uses; the
  // second one counts only when it read what the first one did (the
  // simulator may write the file meanwhile).
  for (int attempt = 0; attempt < controls_reads; ++attempt) {
    LineDigest first, second;
    std::unique_ptr<LineSource> in = open();
    std::optional<DeviceTable> dev = find_devices(*in, ctx, first);
    if (!dev) return false;
    in = open();
    VersionModel read = model;
    if (!read_bindings(*in, *dev, commands, ctx, read, second)) {
      if (in->failed()) return false;
      continue;
    }
    if (first == second) {
      model = std::move(read);
      return true;
    }
  }
  return false;
}
