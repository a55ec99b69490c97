#include "converter/history.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unordered_set>

#include "shared/limits.h"
#include "shared/platform.h"
#include "shared/textfile.h"

namespace {

// A record's lines are short: a word, two numbers and three digests.
constexpr std::size_t history_line_capacity = 160;

// Past this many entries the record keeps its newest half.
constexpr std::size_t history_entries = 4096;

constexpr std::uint64_t fnv_offset = 0xCBF29CE484222325ULL;
constexpr std::uint64_t fnv_prime = 0x100000001B3ULL;

std::uint64_t mixed(std::uint64_t hash, const char* bytes, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    hash = (hash ^ static_cast<unsigned char>(bytes[i])) * fnv_prime;
  }
  return hash;
}

std::string hex(std::uint64_t value, int digits) {
  char buf[17];
  std::snprintf(buf, sizeof buf, "%0*llx", digits, static_cast<unsigned long long>(value));
  return buf;
}

std::optional<std::uint64_t> read_hex(const std::string& text) {
  if (text.empty() || text.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint64_t>(digit);
  }
  return value;
}

std::string number_or_none(const std::optional<std::int32_t>& n) {
  if (!n) return "-";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%05d", *n);
  return buf;
}

// Five digits, or "-" for none; `ok` false for anything else.
std::optional<std::int32_t> read_number_or_none(const std::string& text, bool& ok) {
  ok = text == "-" || (!text.empty() && text.size() <= 5 &&
                       text.find_first_not_of("0123456789") == std::string::npos);
  if (!ok || text == "-") return std::nullopt;
  return std::stoi(text);
}

// "convert <made|-> <result>" or "undo <restored> <made|-> <result>
// <undone>", then the check of all before it.
std::string line_of(const HistoryEntry& e) {
  std::string line = e.kind == HistoryEntry::Kind::convert
                         ? "convert " + number_or_none(e.made) + " " + hex(e.result, 16)
                         : "undo " + number_or_none(e.restored) + " " + number_or_none(e.made) +
                               " " + hex(e.result, 16) + " " + hex(e.undone, 16);
  return line + " " + hex(mixed(fnv_offset, line.data(), line.size()) & 0xFFFFFFFF, 8);
}

std::optional<HistoryEntry> entry_of(const std::string& line) {
  std::size_t last = line.rfind(' ');
  if (last == std::string::npos) return std::nullopt;
  std::optional<std::uint64_t> check = read_hex(line.substr(last + 1));
  if (!check || *check != (mixed(fnv_offset, line.data(), last) & 0xFFFFFFFF)) return std::nullopt;
  std::vector<std::string> words;
  for (std::size_t at = 0; at < last;) {
    std::size_t end = std::min(line.find(' ', at), last);
    words.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  HistoryEntry e;
  bool undo = words.size() == 5 && words[0] == "undo";
  if (!undo && !(words.size() == 3 && words[0] == "convert")) return std::nullopt;
  e.kind = undo ? HistoryEntry::Kind::undo : HistoryEntry::Kind::convert;
  bool restored_ok = true, made_ok = true;
  if (undo) e.restored = read_number_or_none(words[1], restored_ok);
  e.made = read_number_or_none(words[undo ? 2 : 1], made_ok);
  std::optional<std::uint64_t> result = read_hex(words[undo ? 3 : 2]);
  std::optional<std::uint64_t> undone = undo ? read_hex(words[4]) : std::optional<std::uint64_t>(0);
  if (!restored_ok || (undo && !e.restored) || !made_ok || !result || !undone) return std::nullopt;
  e.result = *result;
  e.undone = *undone;
  return e;
}

}  // namespace

std::optional<Digest> file_digest(const std::string& path) {
  std::FILE* in = open_file(path, "rb");
  if (in == nullptr) return std::nullopt;
  std::unique_ptr<char[]> block(new char[file_block]);
  std::uint64_t hash = fnv_offset;
  for (std::size_t n; (n = std::fread(block.get(), 1, file_block, in)) > 0;) {
    hash = mixed(hash, block.get(), n);
  }
  bool whole = std::ferror(in) == 0;
  std::fclose(in);
  if (!whole) return std::nullopt;
  return hash;
}

std::string history_name(const std::string& target) { return target + ".history"; }

std::optional<std::vector<HistoryEntry>> read_history(const std::string& name) {
  std::vector<HistoryEntry> entries;
  if (!file_exists(name)) return entries;
  LineReader in(name, history_line_capacity);
  while (std::optional<std::string> line = in.next()) {
    std::optional<HistoryEntry> e = entry_of(*line);
    if (!e) return std::nullopt;
    entries.push_back(*e);
  }
  if (!in.is_open() || in.failed()) return std::nullopt;
  return entries;
}

bool add_to_history(const std::string& name, const HistoryEntry& entry) {
  std::optional<std::vector<HistoryEntry>> entries = read_history(name);
  if (entries && entries->size() < history_entries) {
    LineWriter out;
    if (!out.open(name, "ab")) return false;
    bool ok = out.write_line(line_of(entry)) && out.sync();
    return out.close() && ok;
  }
  // A record that does not read (its lines then stand for nothing), or one
  // grown long, is written anew: its newest half and the entry.
  std::vector<HistoryEntry> kept;
  if (entries) kept.assign(entries->end() - history_entries / 2, entries->end());
  kept.push_back(entry);
  ReplacingWriter out;
  if (!out.open(name)) return false;
  for (const HistoryEntry& e : kept) out.write_line(line_of(e));
  return out.flush() && out.commit();
}

namespace {

// Where the record puts the file, when its last entry made the file as it
// now is: the walk goes on below that place, passing over the states the
// record's undos left; `undone` gets those.
std::optional<std::size_t> place_in_record(const std::vector<BackupState>& backups,
                                           Digest current,
                                           const std::optional<std::vector<HistoryEntry>>& record,
                                           std::unordered_set<Digest>& undone) {
  if (!record || record->empty() || record->back().result != current) return std::nullopt;
  const HistoryEntry& last = record->back();
  bool converted = last.kind == HistoryEntry::Kind::convert;
  std::optional<std::int32_t> number = converted ? last.made : last.restored;
  std::optional<std::size_t> place;
  for (std::size_t i = 0; number && i < backups.size(); ++i) {
    if (backups[i].number == *number) {
      place = converted ? i + 1 : i;
      break;
    }
  }
  for (const HistoryEntry& e : *record) {
    if (e.kind == HistoryEntry::Kind::undo) undone.insert(e.undone);
  }
  return place;
}

}  // namespace

UndoPlan plan_undo(const std::vector<BackupState>& backups, std::optional<Digest> current,
                   const std::optional<std::vector<HistoryEntry>>& record) {
  UndoPlan plan;
  if (!current) {
    // No current file: the newest backup, with no new one.
    if (!backups.empty()) plan.restore = backups.size() - 1;
    return plan;
  }
  plan.back_up_current = std::none_of(backups.begin(), backups.end(),
                                      [&](const BackupState& b) { return b.digest == *current; });
  std::unordered_set<Digest> undone;
  std::optional<std::size_t> place = place_in_record(backups, *current, record, undone);
  plan.from_record = place.has_value();
  if (!place) {
    // From the newest: the file stands at the highest backup with its
    // bytes, or above them all.
    std::size_t at = backups.size();
    while (at > 0 && backups[at - 1].digest != *current) --at;
    if (at == 0) {
      at = backups.size();
    } else {
      plan.passed_over.push_back(--at);
    }
    place = at;
    undone.clear();
  }
  for (std::size_t i = *place; i-- > 0;) {
    if (backups[i].digest == *current) {
      plan.passed_over.push_back(i);
    } else if (undone.count(backups[i].digest) == 0) {
      plan.restore = i;
      break;
    }
  }
  return plan;
}

std::optional<std::size_t> undos_to_reach(std::vector<BackupState> backups, Digest current,
                                          std::optional<std::vector<HistoryEntry>> record,
                                          Digest wanted) {
  // Each -undo that makes a backup adds one, so the walk ends within twice
  // the backups there are.
  const std::size_t bound = 2 * backups.size() + 2;
  for (std::size_t undos = 0; undos <= bound; ++undos) {
    if (current == wanted) return undos;
    UndoPlan plan = plan_undo(backups, current, record);
    if (!plan.restore) return std::nullopt;
    HistoryEntry e{HistoryEntry::Kind::undo, std::nullopt, backups[*plan.restore].number,
                   backups[*plan.restore].digest, current};
    if (plan.back_up_current) {
      e.made = backups.empty() ? 0 : backups.back().number + 1;
      backups.push_back({*e.made, current});
    }
    if (!record) record.emplace();
    record->push_back(e);
    current = e.result;
  }
  return std::nullopt;
}
