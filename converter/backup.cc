#include "converter/backup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "shared/console.h"
#include "shared/limits.h"
#include "shared/messages.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

constexpr std::size_t ext_capacity = 20;
constexpr std::size_t listing_line_capacity = 512;
constexpr std::int32_t highest_number = 99999;
constexpr std::int32_t last_probed = 99998;
constexpr const char* warning_title = "Brin23";

std::string five_digits(std::int32_t n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%05d", n);
  return buf;
}

// The number of a listed name: the five characters after the last "_" of the
// name without its extension, read as a whole number (blanks ignored).
std::optional<std::int32_t> listed_number(const std::string& line) {
  std::size_t dot = line.rfind('.');
  std::string name = line.substr(0, dot);
  std::size_t underscore = name.rfind('_');
  if (underscore == std::string::npos) return std::nullopt;
  std::string field = name.substr(underscore + 1, 5);
  std::string digits;
  for (char c : field) {
    if (c != ' ') digits.push_back(c);
  }
  if (digits.empty()) return std::nullopt;
  return read_whole_number(digits);
}

void warn_no_version(const std::string& fnam) {
  constexpr std::string_view words = "No new version could be determined for file: ";
  std::string name = trim(fnam).substr(0, message_capacity - words.size());
  std::int32_t msg_status = s_warning;
  error_message_tit(msg_status, warning_title, {{std::string(words), true}, {name}}, false);
}

// The name with the number written over the five characters after the
// underscore at `underscore`, in the folder `path`, with the extension `ext`.
std::string numbered_name(const std::string& path, std::string name, std::size_t underscore,
                          std::int32_t number, const std::string& ext) {
  name = name.substr(0, underscore + 1) + five_digits(number);
  return trim(path) + name + ext;
}

// The parts of the name to back up: its extension (cut at 20 characters),
// what comes before it, and the pattern of its numbered names.
struct SplitName {
  std::string ext;
  std::string stem;
  std::string pattern;
};

SplitName split_name(const std::string& fnam) {
  std::size_t idot = fnam.rfind('.');
  SplitName split;
  split.ext = idot == std::string::npos ? "" : cut(fnam.substr(idot), ext_capacity);
  split.stem = idot == std::string::npos ? fnam : fnam.substr(0, idot);
  split.pattern = split.stem + "_?????" + split.ext;
  return split;
}

// The folder listing of the names matching `pattern`, newest first; nothing
// when no listing could be made whole (the caller then tries names).
std::optional<std::vector<std::string>> read_listing(const std::string& pattern,
                                                     BackupTrace& trace) {
  // A listing left over from an earlier call goes. One that can't go (a
  // read-only file, a folder) is never taken for this call's listing.
  if (file_exists(listing_file)) delete_file(listing_file);
  bool stale = name_taken(listing_file);

  std::string cmd = "DIR /TW /B /O-D \"" + pattern + "\" > " + listing_file;
  CommandStatus status{1, 1};
  if (!stale) status = list_newest_first(pattern, listing_file);
  trace.listing(cmd, status);
  if (status.command_status != 0) return std::nullopt;

  LineReader listing(listing_file, listing_line_capacity);
  std::vector<std::string> lines;
  while (std::optional<std::string> line = listing.next()) lines.push_back(*line);
  bool whole = listing.is_open() && !listing.failed();
  listing.close();
  delete_file(listing_file);
  if (!whole) return std::nullopt;
  return lines;
}

// The steps on the console.
class ConsoleBackupTrace : public BackupTrace {
 public:
  void listing(const std::string& command, CommandStatus status) override {
    console_printf(" %s\n", command.c_str());
    console_printf(" exitstat= %d cmdstat= %d\n", status.exit_status, status.command_status);
  }
  void first_name(const std::string& pattern, const std::string& name) override {
    console_printf(" %s\n %s\n", pattern.c_str(), name.c_str());
  }
  void copy(const std::string& command) override {
    console_printf(" %s\n", command.c_str());
  }
  void copied(CommandStatus status) override {
    console_printf(" %d %d\n", status.exit_status, status.command_status);
  }
};

}  // namespace

BackupTrace& console_backup_trace() {
  static ConsoleBackupTrace trace;
  return trace;
}

std::int32_t name_from_listing(std::string& fnam, const std::vector<std::string>& lines,
                               BackupTrace& trace) {
  fnam = trim(fnam);
  SplitName split = split_name(fnam);

  // The highest number listed; the last line is the oldest file.
  std::int32_t nmax = -1;
  std::string fsrch = split.pattern;
  for (const std::string& line : lines) {
    if (std::optional<std::int32_t> n = listed_number(line); n && *n > nmax) nmax = *n;
    fsrch = trim(line);
  }

  // The new name: the given folder, the name part of the oldest listed file
  // (or of the pattern) and the next number.
  std::string path = extract_path_name(fnam).p1;
  std::string name = extract_path_name(fsrch).n1;
  std::string ext = split.ext;
  std::size_t dot = name.rfind('.');
  std::size_t underscore = name.substr(0, dot).rfind('_');
  if (nmax == -1) {
    trace.first_name(fsrch, name);
    ext = dot == std::string::npos ? "" : name.substr(dot);
  }
  if (nmax >= highest_number || underscore == std::string::npos) {
    fnam = trim(path) + name;
    warn_no_version(fnam);
    return 0;
  }
  fnam = numbered_name(path, name, underscore, nmax + 1, ext);
  return 1;
}

namespace {

// The numbers of the names `stem`_nnnnn`ext` that `there` finds, tried one by
// one from 00000 to 99999, in order.
template <typename There>
std::vector<std::int32_t> tried_numbers(const SplitName& split, There there) {
  std::vector<std::int32_t> found;
  for (std::int32_t nnn = 0; nnn <= highest_number; ++nnn) {
    if (there(split.stem + "_" + five_digits(nnn) + split.ext)) found.push_back(nnn);
  }
  return found;
}

}  // namespace

std::int32_t get_new_vers(std::string& fnam, BackupTrace& trace) {
  fnam = trim(fnam);
  SplitName split = split_name(fnam);

  // Only a listing that this call made whole is read; a name it gives that
  // is taken all the same shows a listing that missed files.
  if (std::optional<std::vector<std::string>> lines = read_listing(split.pattern, trace)) {
    std::string listed = fnam;
    std::int32_t result = name_from_listing(listed, *lines, trace);
    if (result == 0 || !name_taken(listed)) {
      fnam = listed;
      return result;
    }
  }

  // No listing: the names are tried, and the new backup is numbered one
  // above the highest, as the listing numbers it, so that the backups stay
  // in the order they were made whatever gaps a pilot left.
  std::vector<std::int32_t> taken =
      tried_numbers(split, [](const std::string& name) { return name_taken(name); });
  std::int32_t next = taken.empty() ? 0 : taken.back() + 1;
  if (next <= last_probed) {
    fnam = split.stem + "_" + five_digits(next) + split.ext;
    return 1;
  }
  fnam = split.stem + "_" + five_digits(next - 1) + split.ext;
  warn_no_version(fnam);
  return 0;
}

std::vector<NumberedBackup> backup_history(const std::string& fnam, BackupTrace& trace) {
  SplitName split = split_name(trim(fnam));
  std::vector<NumberedBackup> history;
  if (std::optional<std::vector<std::string>> lines = read_listing(split.pattern, trace)) {
    std::string folder = trim(extract_path_name(fnam).p1);
    for (const std::string& line : *lines) {
      std::string name = folder + trim(line);
      if (std::optional<std::int32_t> n = listed_number(line); n && *n >= 0 && !is_link(name)) {
        history.push_back({*n, name});
      }
    }
    // In number order; of two names with one number (letter case apart),
    // the newest, listed first.
    std::stable_sort(
        history.begin(), history.end(),
        [](const NumberedBackup& a, const NumberedBackup& b) { return a.number < b.number; });
    history.erase(std::unique(history.begin(), history.end(),
                              [](const NumberedBackup& a, const NumberedBackup& b) {
                                return a.number == b.number;
                              }),
                  history.end());
    return history;
  }
  for (std::int32_t n : tried_numbers(split, [](const std::string& name) {
         return file_exists(name) && !is_link(name);
       })) {
    history.push_back({n, split.stem + "_" + five_digits(n) + split.ext});
  }
  return history;
}

std::optional<std::string> newest_backup(const std::string& fnam, BackupTrace& trace) {
  std::vector<NumberedBackup> history = backup_history(fnam, trace);
  if (history.empty()) return std::nullopt;
  return history.back().name;
}

std::optional<std::int32_t> backup_number(const std::string& name) {
  std::optional<std::int32_t> n = listed_number(extract_path_name(name).n1);
  if (!n || *n < 0) return std::nullopt;
  return n;
}

std::optional<std::string> back_up_target(const std::string& target, const BackupWords& words,
                                          const std::function<void(const MixedText&)>& stop,
                                          BackupTrace& trace) {
  if (!file_exists(target)) return std::string();
  std::string ctrfile_bak = target + ".bak";
  // A numbered name too long for its field would be cut into the name of
  // another file.
  if (get_new_vers(ctrfile_bak, trace) == 0 || !name_fits(ctrfile_bak)) {
    stop({{words.backup_file, true},
          {cut(ctrfile_bak, path_capacity)},
          {words.error_opening, true}});
    return std::nullopt;
  }
  std::string cmd = "COPY /Y \"" + target + "\" \"" + ctrfile_bak + "\"";
  trace.copy(cmd);
  CommandStatus status = copy_file_whole(target, target + ".partial", ctrfile_bak);
  trace.copied(status);
  if (status.exit_status != 0 || status.command_status > 0) {
    // The reason, as for an output file: ransomware protection, an
    // antivirus or an offline OneDrive file refuses the copy's first write;
    // another program holds the file.
    stop({{words.backup_file, true},
          {ctrfile_bak},
          {words.error_opening + words.refusal(last_file_refusal()), true}});
    return std::nullopt;
  }
  return ctrfile_bak;
}
