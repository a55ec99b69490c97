#include "converter/read_back.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "shared/limits.h"
#include "shared/platform.h"

namespace {

// Reads a file alongside the lines told to it, and keeps the first that
// differs.
class Alongside : public Listener {
 public:
  explicit Alongside(const std::string& path) : in_(path, line_capacity) {}

  void new_line(const MergedLine& line) override {
    if (!line.in_file()) return;
    ++line_;
    std::optional<std::string> read = in_.next();
    if (!first_ && read != line.text) first_ = LineDifference{line_, line.text, read.value_or("")};
  }

  // The first difference, or the first line the file has past the lines
  // told.
  std::optional<LineDifference> first() {
    if (first_) return first_;
    std::optional<std::string> more = in_.next();
    if (more || in_.failed()) return LineDifference{line_ + 1, "", more.value_or("")};
    return std::nullopt;
  }

 private:
  LineReader in_;
  std::size_t line_ = 0;
  std::optional<LineDifference> first_;
};

// The line `number` (from 1) of a file, 80 characters of it; empty past
// its end.
std::string line_of(const std::string& path, std::size_t number) {
  LineReader in(path, line_capacity);
  std::optional<std::string> line;
  for (std::size_t n = 0; n < number; ++n) line = in.next();
  return line.value_or("");
}

}  // namespace

void MeantLines::pass_started() { *this = MeantLines(); }

void MeantLines::new_line(const MergedLine& line) {
  if (!line.in_file()) return;
  digest_.add(line.text);
  ++lines_;
}

std::optional<LineDifference> read_back(const std::string& path, const MeantLines& meant,
                                    const std::function<void(Listener&)>& again) {
  // Line for line what was meant, each at most 80 characters: headers and
  // entries alike, as the simulator and the programs read them.
  LineReader in(path, line_capacity);
  LineDigest read;
  std::size_t lines = 0;
  while (std::optional<std::string> line = in.next()) {
    read.add(*line);
    ++lines;
  }
  bool whole = in.is_open() && !in.failed();
  if (whole && lines == meant.lines() && read == meant.digest()) return std::nullopt;
  in.close();
  Alongside alongside(path);
  again(alongside);
  if (std::optional<LineDifference> first = alongside.first()) return first;
  // Told alike a second time, the lines the source now makes: the file
  // differs from the first telling somewhere none can name.
  return LineDifference{lines + 1, "", ""};
}

std::optional<LineDifference> compare_copy(const std::string& copy, const std::string& original) {
  std::FILE* a = open_file(original, "rb");
  std::FILE* b = a == nullptr ? nullptr : open_file(copy, "rb");
  std::size_t line = 1;
  bool same = b != nullptr;
  // Left as read: never filled first.
  std::unique_ptr<char[]> block_a(new char[file_block]), block_b(new char[file_block]);
  while (same) {
    std::size_t na = std::fread(block_a.get(), 1, file_block, a);
    std::size_t nb = std::fread(block_b.get(), 1, file_block, b);
    const char* begin_a = block_a.get();
    const char* end_a = begin_a + std::min(na, nb);
    const char* at = std::mismatch(begin_a, end_a, static_cast<const char*>(block_b.get())).first;
    line += static_cast<std::size_t>(std::count(begin_a, at, '\n'));
    same = at == end_a && na == nb && std::ferror(a) == 0 && std::ferror(b) == 0;
    if (!same || na < file_block) break;
  }
  same = same && std::feof(b) != 0;
  if (a != nullptr) std::fclose(a);
  if (b != nullptr) std::fclose(b);
  if (same) return std::nullopt;
  return LineDifference{line, line_of(original, line), line_of(copy, line)};
}
