// The POSIX stand-in's desktop: the US layout's key names, the joystick
// slots of MALVET_JOYSTICKS, the console, dialogs through zenity when a
// display is there, else on the console, and documents opened with
// xdg-open.
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "shared/platform-posix.h"
#include "shared/platform.h"
#include "shared/text.h"

extern char** environ;

namespace {

// The system's text as zenity takes it, UTF-8.
std::string to_utf8(std::string_view text) { return utf16_to_utf8(ansi_to_utf16(text)); }

bool on_path(const char* program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  std::string_view rest(path);
  while (!rest.empty()) {
    std::size_t colon = rest.find(':');
    std::string dir(rest.substr(0, colon));
    if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) {
      return true;
    }
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return false;
}

bool has_display() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
  };
  return (set("DISPLAY") || set("WAYLAND_DISPLAY")) && on_path("zenity");
}

// Runs a program found on the PATH, waits for it and returns its exit status
// (-1 when it could not be started); its standard output goes to `out`.
int run_capture(const std::vector<std::string>& args, std::string& out) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid;
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return -1;
  }
  char buf[4096];
  ssize_t n;
  while ((n = read(fds[0], buf, sizeof buf)) > 0) out.append(buf, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  if (waitpid(pid, &status, 0) < 0 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

int zenity_message_box(const std::string& title, std::u16string_view units,
                       const std::string& dialog_type, const std::string& icon) {
  std::vector<std::string> args = {"zenity", "--no-markup", "--title=" + to_utf8(title),
                                   "--text=" + utf16_to_utf8(std::u16string(units))};
  if (dialog_type == "ok") {
    args.insert(args.begin() + 1, icon == "error"     ? "--error"
                                  : icon == "warning" ? "--warning"
                                                      : "--info");
    std::string out;
    run_capture(args, out);
    return 1;
  }
  args.insert(args.begin() + 1, "--question");
  if (dialog_type == "okcancel") {
    args.insert(args.end(), {"--ok-label=OK", "--cancel-label=Cancel"});
  } else {
    args.insert(args.end(), {"--ok-label=Yes", "--cancel-label=No"});
    if (dialog_type == "yesnocancel") args.push_back("--extra-button=Cancel");
  }
  std::string out;
  int status = run_capture(args, out);
  if (status == 0) return 1;
  if (dialog_type != "yesnocancel") return 0;
  return out.find("Cancel") != std::string::npos || status != 1 ? 0 : 2;
}

int console_message_box(const std::string& title, const std::string& message,
                        const std::string& dialog_type) {
  std::cerr << "\n[" << title << "]\n" << message << "\n";
  if (dialog_type == "ok") return 1;
  bool yes_no = dialog_type != "okcancel";
  std::string choices = dialog_type == "yesnocancel" ? "yes/no/cancel"
                        : yes_no                     ? "yes/no"
                                                     : "ok/cancel";
  if (!isatty(STDIN_FILENO)) {
    std::cerr << "(" << choices << ": no answer from a terminal, " << (yes_no ? "no" : "cancel")
              << ")\n";
    return 0;
  }
  std::cerr << "(" << choices << ") ? " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return 0;
  char first = answer.empty() ? ' ' : static_cast<char>(answer[0] | 0x20);
  if (first == 'y' || first == 'o') return 1;  // yes, ok, oui
  if (first == 'n' && dialog_type == "yesnocancel") return 2;
  return 0;
}

}  // namespace

void start_document(const std::string& path) {
  if (!on_path("xdg-open")) return;
  std::string native = to_native_path(path);
  char* argv[] = {const_cast<char*>("xdg-open"), native.data(), nullptr};
  pid_t pid;  // not waited for
  posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ);
}

int native_message_box(const std::string& title, std::u16string_view units,
                       std::string_view bytes, const std::string& dialog_type,
                       const std::string& icon,
                       int /*default_button: the first button is zenity's default*/) {
  if (has_display()) return zenity_message_box(title, units, dialog_type, icon);
  return console_message_box(title, std::string(bytes), dialog_type);
}

std::optional<std::string> native_open_file(const std::string& title,
                                            const std::string& initial_path,
                                            const std::vector<std::string>& patterns, bool multi,
                                            bool* whole) {
  if (whole != nullptr) *whole = true;
  std::string chosen;
  if (has_display()) {
    std::vector<std::string> args = {"zenity", "--file-selection", "--title=" + to_utf8(title)};
    if (!initial_path.empty()) {
      args.push_back("--filename=" + to_utf8(to_native_path(initial_path)));
    }
    if (!patterns.empty()) {
      std::string filter = "--file-filter=";
      for (const std::string& p : patterns) filter += to_utf8(p) + " ";
      args.push_back(filter);
    }
    if (multi) args.insert(args.end(), {"--multiple", "--separator=|"});
    if (run_capture(args, chosen) != 0) return std::nullopt;
    while (!chosen.empty() && (chosen.back() == '\n' || chosen.back() == '\r')) {
      chosen.pop_back();
    }
    chosen = utf16_to_ansi(utf8_to_utf16(chosen), whole);
  } else {
    std::cerr << "\n[" << title << "]\n";
    if (!isatty(STDIN_FILENO)) {
      std::cerr << "(file name: no answer from a terminal, cancel)\n";
      return std::nullopt;
    }
    std::cerr << "File name (empty to cancel): " << std::flush;
    if (!std::getline(std::cin, chosen)) return std::nullopt;
  }
  if (chosen.empty()) return std::nullopt;
  return from_native_path(chosen);
}

std::string key_name_text(std::uint32_t lparam, std::size_t capacity) {
  // The names Windows gives on the US English layout, by scan code; 256 is
  // added for an extended key.
  static const std::pair<int, const char*> names[] = {{1, "Esc"},
                                                      {2, "1"},
                                                      {3, "2"},
                                                      {4, "3"},
                                                      {5, "4"},
                                                      {6, "5"},
                                                      {7, "6"},
                                                      {8, "7"},
                                                      {9, "8"},
                                                      {10, "9"},
                                                      {11, "0"},
                                                      {12, "-"},
                                                      {13, "="},
                                                      {14, "Backspace"},
                                                      {15, "Tab"},
                                                      {16, "Q"},
                                                      {17, "W"},
                                                      {18, "E"},
                                                      {19, "R"},
                                                      {20, "T"},
                                                      {21, "Y"},
                                                      {22, "U"},
                                                      {23, "I"},
                                                      {24, "O"},
                                                      {25, "P"},
                                                      {26, "["},
                                                      {27, "]"},
                                                      {28, "Enter"},
                                                      {29, "Ctrl"},
                                                      {30, "A"},
                                                      {31, "S"},
                                                      {32, "D"},
                                                      {33, "F"},
                                                      {34, "G"},
                                                      {35, "H"},
                                                      {36, "J"},
                                                      {37, "K"},
                                                      {38, "L"},
                                                      {39, ";"},
                                                      {40, "'"},
                                                      {41, "`"},
                                                      {42, "Shift"},
                                                      {43, "\\"},
                                                      {44, "Z"},
                                                      {45, "X"},
                                                      {46, "C"},
                                                      {47, "V"},
                                                      {48, "B"},
                                                      {49, "N"},
                                                      {50, "M"},
                                                      {51, ","},
                                                      {52, "."},
                                                      {53, "/"},
                                                      {54, "Right Shift"},
                                                      {55, "Num *"},
                                                      {56, "Alt"},
                                                      {57, "Space"},
                                                      {58, "Caps Lock"},
                                                      {59, "F1"},
                                                      {60, "F2"},
                                                      {61, "F3"},
                                                      {62, "F4"},
                                                      {63, "F5"},
                                                      {64, "F6"},
                                                      {65, "F7"},
                                                      {66, "F8"},
                                                      {67, "F9"},
                                                      {68, "F10"},
                                                      {69, "Pause"},
                                                      {70, "Scroll Lock"},
                                                      {71, "Num 7"},
                                                      {72, "Num 8"},
                                                      {73, "Num 9"},
                                                      {74, "Num -"},
                                                      {75, "Num 4"},
                                                      {76, "Num 5"},
                                                      {77, "Num 6"},
                                                      {78, "Num +"},
                                                      {79, "Num 1"},
                                                      {80, "Num 2"},
                                                      {81, "Num 3"},
                                                      {82, "Num 0"},
                                                      {83, "Num Del"},
                                                      {84, "Sys Req"},
                                                      {87, "F11"},
                                                      {88, "F12"},
                                                      {284, "Num Enter"},
                                                      {285, "Right Ctrl"},
                                                      {309, "Num /"},
                                                      {311, "Prnt Scrn"},
                                                      {312, "Right Alt"},
                                                      {325, "Num Lock"},
                                                      {326, "Break"},
                                                      {327, "Home"},
                                                      {328, "Up"},
                                                      {329, "Page Up"},
                                                      {331, "Left"},
                                                      {333, "Right"},
                                                      {335, "End"},
                                                      {336, "Down"},
                                                      {337, "Page Down"},
                                                      {338, "Insert"},
                                                      {339, "Delete"},
                                                      {347, "Left Windows"},
                                                      {348, "Right Windows"},
                                                      {349, "Application"}};
  int code = static_cast<int>((lparam >> 16) & 0x1FF);
  for (const auto& [scan, name] : names) {
    if (scan == code) return std::string(name).substr(0, capacity > 0 ? capacity - 1 : 0);
  }
  return std::string();
}

std::uint16_t keyboard_layout_language() {
  const char* layout = std::getenv("MALVET_KEYBOARD_LAYOUT");
  if (layout != nullptr && std::strlen(layout) == 4 &&
      std::strspn(layout, "0123456789abcdefABCDEF") == 4) {
    return static_cast<std::uint16_t>(std::strtoul(layout, nullptr, 16));
  }
  return user_ui_language();
}

constexpr std::uint32_t slot_count = 16;  // what joyGetNumDevs answers

std::uint32_t joystick_slots() { return slot_count; }

namespace {

// The slots that the joystick file lists, read from its bytes; the last
// file's are kept, as a run asks for every slot in turn.
const std::vector<std::pair<std::uint32_t, JoystickCaps>>& listed_joysticks(const char* file_name) {
  static std::string last_bytes;
  static std::vector<std::pair<std::uint32_t, JoystickCaps>> listed;
  const std::string* read = stand_in_file(file_name);
  std::string bytes = read != nullptr ? *read : std::string();
  if (bytes == last_bytes && !bytes.empty()) return listed;
  last_bytes = bytes;
  listed.clear();
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    start = end + 1;
    std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    unsigned long s, vendor, product;
    long axes, buttons;
    char extra;
    if (std::sscanf(line.c_str(), " %lu %ld %ld %lx %lx %c", &s, &axes, &buttons, &vendor,
                    &product, &extra) != 5) {
      continue;
    }
    JoystickCaps caps;
    caps.axes = static_cast<std::int32_t>(axes);
    caps.buttons = static_cast<std::int32_t>(buttons);
    caps.vendor = static_cast<std::uint16_t>(vendor);
    caps.product = static_cast<std::uint16_t>(product);
    caps.name = "Joystick";
    caps.registry_key = "DINPUT.DLL";
    listed.emplace_back(static_cast<std::uint32_t>(s), caps);
  }
  return listed;
}

}  // namespace

std::optional<JoystickCaps> joystick_caps(std::uint32_t slot) {
  if (slot >= slot_count) return std::nullopt;
  const char* file_name = std::getenv("MALVET_JOYSTICKS");
  if (file_name == nullptr || *file_name == '\0') return std::nullopt;
  for (const auto& [listed_slot, caps] : listed_joysticks(file_name)) {
    if (listed_slot == slot) return caps;
  }
  return std::nullopt;
}

bool standard_output_is_console() { return false; }

void write_standard_output(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

void write_standard_output(std::u16string_view, std::string_view bytes) {
  write_standard_output(bytes);
}

bool console_of_its_own() {
  for (const char* name : {"MALVET_EXPLORER", "MALVET_WINDOW"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && std::string_view(value) == "1") return true;
  }
  return false;
}

void drop_typed_ahead() {
  if (isatty(STDIN_FILENO)) tcflush(STDIN_FILENO, TCIFLUSH);
}
