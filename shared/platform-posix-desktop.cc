// The POSIX stand-in's desktop: dialogs through zenity when a display is
// there, else on the console, and documents opened with xdg-open.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

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

int zenity_message_box(const std::string& title, const std::string& message,
                       const std::string& dialog_type, const std::string& icon) {
  std::vector<std::string> args = {"zenity", "--no-markup", "--title=" + to_utf8(title),
                                   "--text=" + to_utf8(message)};
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

int native_message_box(const std::string& title, const std::string& message,
                       const std::string& dialog_type, const std::string& icon,
                       int /*default_button: the first button is zenity's default*/) {
  if (has_display()) return zenity_message_box(title, message, dialog_type, icon);
  return console_message_box(title, message, dialog_type);
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
