#include "converter/receipt_spool.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <utility>

#include "shared/platform.h"

namespace {

// How many records the spool holds in memory before it writes them to its
// file: a real controls.ini's few hundred never reach it.
constexpr std::size_t records_in_memory = 4096;

// The file's lines are short: a source line and a value of 80 each.
constexpr std::size_t spool_line_capacity = 1024;

// How many numbers and texts a record of each kind has.
std::pair<std::size_t, std::size_t> parts_of(Record::Kind kind) {
  switch (kind) {
    case Record::Kind::section:
      return {1, 1};
    case Record::Kind::counts:
      return {5, 1};
    case Record::Kind::binding:
      return {5, 2};
    case Record::Kind::old:
      return {4, 3};
  }
  return {0, 0};
}

// A line of the file: the kind, the numbers, then the texts each as its
// length, ":" and its bytes (a text may hold any byte but a line end).
std::string encode(const Record& r) {
  auto [numbers, texts] = parts_of(r.kind);
  std::string line(1, static_cast<char>(r.kind));
  for (std::size_t i = 0; i < numbers; ++i) line += " " + std::to_string(r.numbers[i]);
  line += " ";
  for (std::size_t i = 0; i < texts; ++i) {
    line += std::to_string(r.texts[i].size()) + ":" + r.texts[i];
  }
  return line;
}

// The number at the start of `text`, `text` then past it; nothing when
// none reads.
template <typename Number>
std::optional<Number> number_at(std::string_view& text) {
  Number n{};
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc()) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return n;
}

// The record of a line; nothing for one that is not a record's.
std::optional<Record> decode(std::string_view line) {
  if (line.empty()) return std::nullopt;
  Record r;
  r.kind = static_cast<Record::Kind>(line[0]);
  auto [numbers, texts] = parts_of(r.kind);
  if (numbers == 0) return std::nullopt;
  line.remove_prefix(1);
  for (std::size_t i = 0; i < numbers; ++i) {
    if (line.empty() || line[0] != ' ') return std::nullopt;
    line.remove_prefix(1);
    std::optional<std::int64_t> n = number_at<std::int64_t>(line);
    if (!n) return std::nullopt;
    r.numbers[i] = *n;
  }
  if (line.empty() || line[0] != ' ') return std::nullopt;
  line.remove_prefix(1);
  for (std::size_t i = 0; i < texts; ++i) {
    std::optional<std::size_t> size = number_at<std::size_t>(line);
    if (!size || line.empty() || line[0] != ':' || line.size() - 1 < *size) return std::nullopt;
    r.texts[i] = std::string(line.substr(1, *size));
    line.remove_prefix(1 + *size);
  }
  return r;
}

}  // namespace

void Spool::restart() {
  if (file_.is_open()) file_.close();
  if (in_file_) delete_file(name_);
  in_file_ = false;
  whole_ = true;
  memory_.clear();
}

void Spool::add(Record record) {
  memory_.push_back(std::move(record));
  if (memory_.size() < records_in_memory) return;
  if (!in_file_) in_file_ = whole_ = file_.open_passing(name_);
  for (const Record& r : memory_) whole_ = file_.write_line(encode(r)) && whole_;
  memory_.clear();
}

bool Spool::finish() {
  if (file_.is_open()) whole_ = file_.close() && whole_;
  return whole_;
}

void Spool::each(const std::function<void(const Record&)>& each) const {
  if (in_file_) {
    LineReader in(name_, spool_line_capacity);
    while (std::optional<std::string> line = in.next()) {
      if (std::optional<Record> r = decode(*line)) each(*r);
    }
  }
  for (const Record& r : memory_) each(r);
}
