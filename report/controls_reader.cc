#include "report/controls_reader.h"

#include <cstdio>
#include <memory>

#include "shared/console.h"
#include "shared/controls_grammar.h"
#include "shared/devices.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// How often a controls.ini that changes while it is read is read again.
constexpr int controls_reads = 3;

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
  KeyboardSection keyboard;
  bool read = walk_controls_file(in, [&](const ControlsLine& line) {
    digest.add(line.line);
    if (line.kind == ControlsLine::Kind::header) {
      if (!section.open_section()) return;
      keyboard.begin_section();
      Section& found = dev.sections.emplace_back();
      found.header = line.header;
      std::string raw(line.line);
      console_printf(" %s\n", raw.c_str());
      if (dev.ndev() == 1) return;  // the first section is never a joystick's
      for (std::size_t k = 0; k < ctx.joysticks.size(); ++k) {
        console_printf(" %s\n", ctx.joysticks[k].guid.c_str());
        const std::string& guid = ctx.joysticks[k].guid;
        if (!guid.empty() && same_section(raw, guid))
          found.joystick = static_cast<std::int32_t>(k + 1);
      }
      if (found.joystick > 0) {
        found.kind = SectionKind::joystick;
        console_printf(" %d %s\n", found.joystick,
                       ctx.joysticks[static_cast<std::size_t>(found.joystick - 1)].name.c_str());
      }
      return;
    }
    if (line.kind != ControlsLine::Kind::entry || section.current() == 0) return;
    keyboard.entry(line.number);
    dev.sections.back().key_commands = keyboard.current();
  });
  if (std::optional<std::size_t> k = keyboard.chosen()) {
    dev.sections[*k].kind = SectionKind::keyboard;
    dev.max_cmd_dev = keyboard.most();
  }
  if (!read) return std::nullopt;
  console_printf(" %d %d\n", dev.ikbd(), dev.max_cmd_dev);
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

// An entry of a section of a device that is not attached: only its key and
// button commands count, each as bound to no keyboard key. Its axes are
// kept apart, for the card alone.
void read_unattached_entry(std::int32_t mcmd, const ControlsLine& line, const Section& section,
                           const CommandTable& commands, VersionModel& model, BindingMaker& rows) {
  int i = command_position(commands, mcmd);
  if (i < 0 || mcmd == first_key_command) return;
  const std::string& command = commands[static_cast<std::size_t>(i)].name;
  std::int32_t value = read_whole_number(line.value).value_or(0);
  if (mcmd > first_key_command) {
    rows.add(i, command, BindingKind::not_attached, value, "", 0, section.header);
    return;
  }
  std::int32_t a = axis_index(value);
  // As many as the rows a version holds: a file of endless lines takes no
  // more memory for them.
  if (a < 0 || a > static_cast<std::int32_t>(maxaxe) || model.unattached_axes.size() >= maxcmd) {
    return;
  }
  model.unattached_axes.push_back({i, command, BindingKind::axis, a, "", 0, section.header});
}

// An entry of an attached joystick's section: a button from 3000 on, else an
// axis; one past what the model holds binds nothing.
void read_joystick_entry(int i, std::int32_t mcmd, std::int32_t mkey, const Section& section,
                         const CommandTable& commands, const ControlsContext& ctx,
                         VersionModel& model, BindingMaker& rows) {
  const Joystick& joystick = ctx.joysticks[static_cast<std::size_t>(section.joystick - 1)];
  std::string device = trim(joystick.name);
  const std::string& command = commands[static_cast<std::size_t>(i)].name;
  if (mcmd >= first_key_command) {
    std::int32_t b = button_of_value(mkey);
    if (b < 0) return;
    model.k_cmd[static_cast<std::size_t>(i)] = mkey;
    rows.add(i, command, BindingKind::button, b, "", section.joystick, device);
  } else {
    std::int32_t a = axis_index(mkey);
    if (a < 0 || a > static_cast<std::int32_t>(maxaxe)) return;
    model.k_cmd[static_cast<std::size_t>(i)] = mkey;
    rows.add(i, command, BindingKind::axis, a, "", section.joystick, device);
  }
}

// An entry of a section the first pass found, by the section's kind.
void read_entry(const ControlsLine& line, const Section& section, const CommandTable& commands,
                const ControlsContext& ctx, VersionModel& model, BindingMaker& rows) {
  std::int32_t mcmd = *line.number;
  if (section.kind == SectionKind::not_attached) {
    read_unattached_entry(mcmd, line, section, commands, model, rows);
    return;
  }
  std::optional<std::int32_t> mkey = read_whole_number(line.value);
  if (!mkey) return;
  int i = command_position(commands, mcmd);
  if (i < 0) {
    console_printf(" %d Command not found\n", mcmd);
  } else if (section.kind == SectionKind::keyboard) {
    model.k_cmd[static_cast<std::size_t>(i)] = *mkey;
    read_keyboard_entry(i, *mkey, commands, ctx, model, rows);
  } else {
    read_joystick_entry(i, mcmd, *mkey, section, commands, ctx, model, rows);
  }
}

// The second pass: the bindings of the sections `dev` found, into `model`.
// False when a read error stopped it, or the file proved not to be the one
// the first pass read (more sections than it found).
bool read_bindings(LineSource& in, const DeviceTable& dev, const CommandTable& commands,
                   const ControlsContext& ctx, VersionModel& model, LineDigest& digest) {
  model.bindings.clear();
  model.unattached_axes.clear();
  model.key_name_differences.clear();
  model.k_cmd.assign(maxcmd, never_bound);
  BindingMaker rows(model.bindings);
  SectionCounter counter;
  bool same_sections = true;
  bool read = walk_controls_file(in, [&](const ControlsLine& line) {
    digest.add(line.line);
    if (line.kind == ControlsLine::Kind::header) {
      counter.open_section();
      if (counter.current() > dev.ndev()) same_sections = false;
      return;
    }
    std::int32_t jf = counter.current();
    if (!same_sections || line.kind != ControlsLine::Kind::entry || jf == 0 || rows.full() ||
        !line.number) {
      return;
    }
    read_entry(line, dev.sections[static_cast<std::size_t>(jf - 1)], commands, ctx, model, rows);
  });
  model.devices = dev;
  return read && same_sections;
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
