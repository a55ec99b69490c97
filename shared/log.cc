#include "shared/log.h"

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "shared/console.h"
#include "shared/limits.h"
#include "shared/machine_text.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

constexpr std::size_t body_capacity = 1024;

std::string& filnam() {
  static std::string name = "Logfile.txt";
  return name;
}

struct Banner {
  std::string_view prefix;
  std::string_view head;
  int pairs;
};

constexpr Banner banners[] = {
    {"{W}", "+ WARNING ", 34}, {"{I}", "+ INFO ", 36}, {"{E}", "+ ERROR ", 35}};

std::string repeat_pairs(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += "+-";
  return out;
}

std::string format_time(const std::tm& tm, const char* format) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                tm.tm_min, tm.tm_sec);
  return buf;
}

void create(std::string& msg) {
  std::tm tm = local_time_now();
  std::string name = cut(left_justify(std::string_view(msg).substr(6)), path_capacity);
  bool send_name = trim(msg) == "CREATE-SEND-NAME";
  if (name.empty() || send_name) name = cut(dated_log_name(program_path(), tm), path_capacity);
  filnam() = name;

  LineWriter out;
  errno = 0;
  int status = 0;
  if (out.open(name, "wb")) {
    out.write_line(format_time(tm, "%04d-%02d-%02d %02d:%02d:%02d"));
    out.write_line("");
    out.close();
  } else {
    status = errno != 0 ? errno : 1;
  }
  console_printf(" CREATE %s %d\n", name.c_str(), status);
  if (send_name) msg = name;
}

// One line to the console, then to the log file when it is open.
void emit(LineWriter& log, std::string_view line) {
  console_write(line);
  console_write("\n");
  if (log.is_open()) log.write_line(line);
}

// How a message is written: split into lines at each "/", or one line of
// text as it stands.
enum class Split { at_slashes, never };

// Appends a message to the log file and the console (after the echo).
void append_message(std::string_view msg, Split split = Split::at_slashes) {
  LineWriter log;
  log.open(filnam(), "ab");

  const Banner* banner = nullptr;
  for (const Banner& b : banners) {
    if (split == Split::at_slashes && msg.compare(0, 3, b.prefix) == 0) banner = &b;
  }
  std::string body = trim(std::string_view(msg).substr(banner ? 3 : 0, body_capacity));
  if (banner) emit(log, std::string(banner->head) + repeat_pairs(banner->pairs));

  make_printable(body);
  if (split == Split::never) {
    emit(log, body);
  } else if (body.empty()) {
    emit(log, " ");
  } else if (body.size() >= 2 && body.front() == '"' && body.back() == '"') {
    emit(log, std::string_view(body).substr(1, body.size() - 2));
  } else {
    std::size_t start = 0;
    for (;;) {
      std::size_t slash = body.find('/', start);
      emit(log, trim(std::string_view(body).substr(start, slash - start)));
      if (slash == std::string::npos) break;
      start = slash + 1;
    }
  }

  if (banner) emit(log, repeat_pairs(39));
  log.close();
  std::fflush(stdout);
}

}  // namespace

std::string dated_log_name(std::string_view program_path, const std::tm& tm) {
  std::string name = extract_name(program_path);
  std::size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot);
  return name + format_time(tm, "_%04d_%02d_%02d-%02d_%02d_%02d.log");
}

void log_message_f(std::string& msg) {
  console_printf(" >>> %s\n", trim(msg).c_str());
  if (msg.compare(0, 6, "CREATE") == 0) {
    create(msg);
    std::fflush(stdout);
    return;
  }
  append_message(msg);
}

void log_text_f(std::string_view msg) {
  console_printf(" >>> %s\n", trim(msg).c_str());
  append_message(msg, Split::never);
}

void log_line_f(std::initializer_list<TextPart> parts) {
  console_write(" >>> ");
  console_parts(parts);
  console_write("\n");
  std::string line;
  for (const TextPart& part : parts) {
    line += part.own ? own_in_code_page(part.text) : std::string(part.text);
  }
  line = trim(std::string_view(line).substr(0, body_capacity));
  make_printable(line);
  LineWriter log;
  log.open(filnam(), "ab");
  console_parts(parts);
  console_write("\n");
  if (log.is_open()) log.write_line(line);
  log.close();
  std::fflush(stdout);
}

void log_message_f(std::string_view msg) {
  std::string copy(msg);
  log_message_f(copy);
}

const std::string& log_file_name() { return filnam(); }
