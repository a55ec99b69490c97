#include "converter/backup.h"

#include <cstdio>

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
  std::string msg =
      cut("No new version could be determined for file: " + trim(fnam), message_capacity);
  std::int32_t msg_status = s_warning;
  error_message_tit(msg_status, warning_title, msg, false);
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
std::optional<std::vector<std::string>> read_listing(const std::string& pattern) {
  // A listing left over from an earlier call goes. One that can't go (a
  // read-only file, a folder) is never taken for this call's listing.
  if (file_exists(listing_file)) delete_file(listing_file);
  bool stale = name_taken(listing_file);

  std::string cmd = "DIR /TW /B /O-D \"" + pattern + "\" > " + listing_file;
  console_printf(" %s\n", cmd.c_str());
  CommandStatus status{1, 1};
  if (!stale) status = list_newest_first(pattern, listing_file);
  console_printf(" exitstat= %d cmdstat= %d\n", status.exit_status, status.command_status);
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

}  // namespace

std::int32_t name_from_listing(std::string& fnam, const std::vector<std::string>& lines) {
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
    console_printf(" %s\n %s\n", fsrch.c_str(), name.c_str());
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

std::int32_t get_new_vers(std::string& fnam) {
  fnam = trim(fnam);
  SplitName split = split_name(fnam);

  // Only a listing that this call made whole is read; a name it gives that
  // is taken all the same shows a listing that missed files.
  if (std::optional<std::vector<std::string>> lines = read_listing(split.pattern)) {
    std::string listed = fnam;
    std::int32_t result = name_from_listing(listed, *lines);
    if (result == 0 || !name_taken(listed)) {
      fnam = listed;
      return result;
    }
  }

  // No listing: try the names one by one.
  for (std::int32_t nnn = 0; nnn <= last_probed; ++nnn) {
    fnam = split.stem + "_" + five_digits(nnn) + split.ext;
    if (!name_taken(fnam)) return 1;
  }
  warn_no_version(fnam);
  return 0;
}

std::optional<std::string> newest_backup(const std::string& fnam) {
  SplitName split = split_name(trim(fnam));
  if (std::optional<std::vector<std::string>> lines = read_listing(split.pattern)) {
    std::int32_t nmax = -1;
    std::string newest;
    for (const std::string& line : *lines) {
      if (std::optional<std::int32_t> n = listed_number(line); n && *n > nmax) {
        nmax = *n;
        newest = trim(line);
      }
    }
    if (nmax < 0) return std::nullopt;
    return trim(extract_path_name(fnam).p1) + newest;
  }
  // No listing: the names looked for one by one, from the highest down.
  for (std::int32_t nnn = highest_number; nnn >= 0; --nnn) {
    std::string name = split.stem + "_" + five_digits(nnn) + split.ext;
    if (file_exists(name)) return name;
  }
  return std::nullopt;
}
