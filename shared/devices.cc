#include "shared/devices.h"

#include <cstdint>
#include <cstdio>

#include "shared/console.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"

namespace {

constexpr std::size_t key_text_capacity = 31;  // a 32-byte area with its NUL
constexpr std::size_t name_capacity = 128;
constexpr std::size_t guid_size = 16;
constexpr const char* oem_key =
    "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\";
constexpr const char* directinput_key =
    "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\DirectInput\\";

std::string hex_byte(unsigned char b) {
  char buf[3];
  std::snprintf(buf, sizeof buf, "%02X", b);
  return buf;
}

}  // namespace

std::int32_t get_key_name(std::int32_t ThisKey, std::string& s) {
  std::int32_t q = ThisKey / 10000;
  std::int32_t k = ThisKey - q * 10000;
  if (k > 5000) {
    k -= 10000;
    q += 1;
  }
  std::string prefix;
  if (q & 8) prefix += "LONG+";
  if (q & 1) prefix += "CTRL+";
  if (q & 2) prefix += "SHFT+";
  if (q & 4) prefix += "ALT+";

  std::string name;
  std::int32_t length;
  if (k < 0) {
    std::uint32_t scan = static_cast<std::uint32_t>(-k);
    name = key_name_text(scan << 16, key_text_capacity + 1);
    length = static_cast<std::int32_t>(name.size());
  } else {
    char c = static_cast<char>(k & 0xFF);
    if (c != '\0') name = std::string(1, c);
    length = 1;
  }
  s = (prefix + name).substr(0, key_text_capacity);
  return length;
}

std::int32_t GetKeyNa(std::int32_t iv, std::string& keyn) {
  console_printf("%d\n", iv);
  return get_key_name(iv, keyn);
}

std::string scan_code_name(std::int32_t c, Trace trace) {
  auto fits = [](std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
  auto name_of = [trace](std::int64_t code, std::string& name) {
    std::int32_t key = static_cast<std::int32_t>(code);
    return trace == Trace::yes ? GetKeyNa(key, name) : get_key_name(key, name);
  };
  std::string name;
  std::int64_t first = -std::int64_t{c};
  if (fits(first) && name_of(first, name) > 0) return name;
  std::int64_t second = -std::int64_t{extended_key_added} - c;
  if (fits(second)) name_of(second, name);
  return name;
}

std::optional<std::string> top_row_digit(std::int32_t code) {
  if (code < 2 || code > 10) return std::nullopt;
  return i2b(code - 1);
}

std::string key_display_name(std::int32_t code, bool digits_named, Trace trace) {
  if (digits_named) {
    if (std::optional<std::string> digit = top_row_digit(code)) return *digit;
  }
  return scan_code_name(code, trace);
}

std::int32_t GetNumJoy(Trace trace) {
  std::uint32_t n = joystick_slots();
  std::int32_t count = 0;
  for (std::uint32_t id = 0; id < n; ++id) {
    if (joystick_caps(id)) {
      count = static_cast<std::int32_t>(id) + 1;
    } else {
      trace_printf(trace, "%u ERROR\n", id);
    }
  }
  return count;
}

std::string joystick_header(const std::string& guid_bytes) {
  auto b = [&](int i) { return hex_byte(static_cast<unsigned char>(guid_bytes[i])); };
  std::string text = "[{";
  for (int i : {3, 2, 1, 0}) text += b(i);
  text += "-";
  for (int i : {5, 4}) text += b(i);
  text += "-";
  for (int i : {7, 6}) text += b(i);
  text += "-";
  for (int i : {8, 9}) text += b(i);
  text += "-";
  for (int i : {10, 11, 12, 13}) text += b(i);
  return text + "0000}]";
}

namespace {

// The name the registry gives the device "VID_xxxx&PID_xxxx": the user's
// key, else the machine's, where some systems keep it.
std::string registered_name(const char* device, Trace trace) {
  std::string key = std::string(oem_key) + device;
  trace_printf(trace, "%s\n", key.c_str());
  std::string value, name;
  std::int32_t len = 0;
  if (RdUsrReg(key, "OEMName", value, len, ValueUse::text, trace) == 0 ||
      RdMachineReg(key, "OEMName", value, len, trace) == 0) {
    name = strcpy_c2f(value.c_str(), 0, name_capacity);
  }
  trace_printf(trace, "%s\n", name.c_str());
  return name;
}

// The section header of the device's identifier, whose 16 bytes are taken
// whole, zero bytes included; empty without one.
std::string registered_header(const char* device, Trace trace) {
  std::string key = std::string(directinput_key) + device + "\\Calibration\\0";
  std::string value, header;
  std::int32_t len = 0;
  if (RdUsrReg(key, "GUID", value, len, ValueUse::text, trace) == 0 &&
      value.size() >= guid_size) {
    trace_printf(trace, "%d \n", len);
    header = joystick_header(value);
  }
  trace_printf(trace, "\n%s\n", header.c_str());
  return header;
}

}  // namespace

std::int32_t GetJoyInfo(std::int32_t id, std::string& JGuid, std::string& JName,
                        std::int32_t& JNumAxe, std::int32_t& JNumBut, Trace trace) {
  joystick_slots();
  std::optional<JoystickCaps> caps =
      id < 0 ? std::nullopt : joystick_caps(static_cast<std::uint32_t>(id));
  if (!caps) {
    trace_printf(trace, "%d ERROR\n", id);
    return 0;
  }
  trace_printf(trace, "%d : %d %d %d %d %s %s\n", id, caps->axes, caps->buttons, caps->vendor,
                 caps->product, caps->name.c_str(), caps->registry_key.c_str());
  JNumAxe = caps->axes;
  JNumBut = caps->buttons;

  char device[32];
  std::snprintf(device, sizeof device, "VID_%04X&PID_%04X", caps->vendor, caps->product);
  trace_printf(trace, "%s\n", device);

  JName = registered_name(device, trace);
  JGuid = registered_header(device, trace);
  return 1;
}

std::vector<Joystick> read_joysticks(Trace trace) {
  std::int32_t nbjoy = GetNumJoy(trace);
  trace_printf(trace, " %d Joysticks\n", nbjoy);
  if (nbjoy > static_cast<std::int32_t>(maxjoy)) nbjoy = static_cast<std::int32_t>(maxjoy);
  std::vector<Joystick> joysticks;
  for (std::int32_t id = 0; id < nbjoy; ++id) {
    std::string guid, name;
    std::int32_t axes = 0, buttons = 0;
    GetJoyInfo(id, guid, name, axes, buttons, trace);
    Joystick joy;
    joy.name = cut(name, joystick_text_capacity);
    joy.guid = cut(guid, joystick_text_capacity);
    remove_trail_0(joy.name);
    remove_trail_0(joy.guid);
    joy.axes = axes;
    joy.buttons = buttons;
    trace_printf(trace, " %d %d %d %s %s\n", id, axes, buttons, joy.name.c_str(), joy.guid.c_str());
    joysticks.push_back(joy);
  }
  return joysticks;
}

std::string axis_name(std::int32_t axis) {
  static constexpr std::string_view defaxe = "XYZ";
  return axis >= 0 && static_cast<std::size_t>(axis) < defaxe.size()
             ? std::string(1, defaxe[static_cast<std::size_t>(axis)])
             : i2b(axis);
}

std::string axis_text(std::int32_t axis, std::string_view joystick_name, const InputWords& words) {
  if (joystick_name == sidewinder_ff2) {
    if (axis == 6) return words.curseur;
    if (axis == 8) return words.hat;
  }
  std::string text = words.axis_pattern;
  std::size_t mark = text.find('#');
  if (mark != std::string::npos) text.replace(mark, 1, axis_name(axis));
  return text;
}

std::string button_text(std::int32_t button, const InputWords& words) {
  return trim(words.txtbut) + " " + i2b(button);
}
