#include "shared/textfile.h"

#include <algorithm>
#include <cstring>

#include "shared/limits.h"
#include "shared/platform.h"
#include "shared/text.h"

LineReader::LineReader(const std::string& path, std::size_t capacity)
    : file_(open_file(path, "rb")), capacity_(capacity) {
  if (file_ == nullptr) {
    failed_ = true;
    return;
  }
  // A byte-order mark tells UTF-16LE and UTF-8 files from single-byte ones.
  // It is looked at in the reader's own buffer, never read past and sought
  // back, so that the first line of a pipe stays whole.
  have(3);
  const unsigned char* mark = reinterpret_cast<const unsigned char*>(buffer_.get());
  if (end_ >= 2 && mark[0] == 0xFF && mark[1] == 0xFE) {
    utf16_ = true;
    at_ = 2;
  } else if (end_ >= 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) {
    at_ = 3;
  }
}

LineReader::~LineReader() { close(); }

void LineReader::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

bool LineReader::have(std::size_t n) {
  while (end_ - at_ < n) {
    if (file_ == nullptr || failed_) return false;
    if (at_ > 0) {
      // What is left moves to the front.
      std::copy(buffer_.get() + at_, buffer_.get() + end_, buffer_.get());
      end_ -= at_;
      at_ = 0;
    }
    if (buffer_size_ < end_ + file_block) {
      std::unique_ptr<char[]> larger(new char[end_ + file_block]);
      std::copy(buffer_.get(), buffer_.get() + end_, larger.get());
      buffer_ = std::move(larger);
      buffer_size_ = end_ + file_block;
    }
    std::size_t got = std::fread(buffer_.get() + end_, 1, file_block, file_);
    end_ += got;
    if (got == 0) {
      if (std::ferror(file_)) failed_ = true;
      return false;
    }
  }
  return true;
}

int LineReader::peek() {
  std::size_t size = utf16_ ? 2 : 1;
  if (!have(size)) return EOF;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(buffer_[at_ + i]); };
  return utf16_ ? byte(0) | byte(1) << 8 : byte(0);
}

std::optional<std::string> LineReader::next() {
  if (file_ == nullptr || failed_) return std::nullopt;
  std::optional<std::string> line = utf16_ ? next_utf16_line() : next_bytes_line();
  if (failed_) return std::nullopt;
  return line;
}

std::optional<std::string> LineReader::next_bytes_line() {
  if (!have(1)) return std::nullopt;
  std::string line;
  // The bytes up to the line's end, a stretch of the buffer at a time.
  while (have(1)) {
    const char* begin = buffer_.get() + at_;
    const char* end = buffer_.get() + end_;
    const char* stop = static_cast<const char*>(std::memchr(begin, '\n', end - begin));
    if (stop == nullptr) stop = end;
    if (const void* cr = std::memchr(begin, '\r', stop - begin)) stop = static_cast<const char*>(cr);
    std::size_t taken = static_cast<std::size_t>(stop - begin);
    line.append(begin, std::min(taken, capacity_ - std::min(capacity_, line.size())));
    at_ += taken;
    if (stop == end) continue;
    ++at_;
    // CR LF, or a CR alone as old editors write it, ends the line.
    if (*stop == '\r' && peek() == '\n') ++at_;
    break;
  }
  return line;
}

std::optional<std::string> LineReader::next_utf16_line() {
  if (peek() == EOF) return std::nullopt;
  // Enough units for the line's characters, a pair standing for one.
  std::u16string units;
  for (int c; (c = peek()) != EOF;) {
    at_ += 2;
    if (c == '\n') break;
    if (c == '\r') {
      if (peek() == '\n') at_ += 2;
      break;
    }
    if (units.size() < 2 * capacity_) units.push_back(static_cast<char16_t>(c));
  }
  return utf16_to_ansi(units).substr(0, capacity_);
}

LineWriter::~LineWriter() { close(); }

bool LineWriter::open(const std::string& path, const char* mode) {
  close();
  ok_ = true;
  empty_on_write_ = false;
  file_ = open_file(path, mode);
  return file_ != nullptr;
}

bool LineWriter::open_passing(const std::string& path) {
  close();
  ok_ = true;
  empty_on_write_ = false;
  file_ = create_passing_file(path);
  return file_ != nullptr;
}

bool LineWriter::open_keeping(const std::string& path) {
  close();
  ok_ = true;
  file_ = open_file(path, "r+b");
  if (file_ == nullptr && !file_exists(path)) file_ = open_file(path, "wb");
  empty_on_write_ = file_ != nullptr;
  return file_ != nullptr;
}

bool LineWriter::write_line(std::string_view text) {
  // A line and its end in one write, as most lines are short.
  char line[256];
  if (text.size() + 2 > sizeof line) return write(text) && write("\r\n");
  std::copy(text.begin(), text.end(), line);
  line[text.size()] = '\r';
  line[text.size() + 1] = '\n';
  return write(std::string_view(line, text.size() + 2));
}

bool LineWriter::write(std::string_view bytes) {
  if (file_ == nullptr) return false;
  if (empty_on_write_) {
    // Emptied in place rather than made anew: a hidden file stays hidden
    // and is rewritten all the same.
    empty_on_write_ = false;
    if (!truncate_open_file(file_)) {
      ok_ = false;
      return false;
    }
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) ok_ = false;
  return ok_;
}

bool LineWriter::flush() {
  if (file_ == nullptr || std::fflush(file_) != 0) ok_ = false;
  return ok_;
}

bool LineWriter::sync() {
  if (file_ == nullptr || !flush_to_disk(file_)) ok_ = false;
  return ok_;
}

bool LineWriter::close() {
  if (file_ == nullptr) return ok_;
  if (std::fclose(file_) != 0) ok_ = false;
  file_ = nullptr;
  return ok_;
}

bool ReplacingWriter::open(const std::string& path) {
  discard();
  path_ = path;
  temp_ = temporary_name(path);
  lines_ = 0;
  if (is_blank(path) || folder_exists(path)) return false;
  if (file_exists(path)) {
    std::FILE* existing = open_file(path, "r+b");
    if (existing == nullptr) return false;
    std::fclose(existing);
  }
  return temp_file_.open_passing(temp_);
}

void ReplacingWriter::write_line(std::string_view text) {
  temp_file_.write_line(text);
  ++lines_;
}

bool ReplacingWriter::copy_from(const std::string& from) {
  std::FILE* in = open_file(from, "rb");
  if (in == nullptr) return false;
  std::unique_ptr<char[]> block(new char[file_block]);
  for (std::size_t got; (got = std::fread(block.get(), 1, file_block, in)) > 0;) {
    temp_file_.write(std::string_view(block.get(), got));
  }
  bool whole = std::ferror(in) == 0;
  std::fclose(in);
  return whole;
}

bool ReplacingWriter::close_written() {
  if (!temp_file_.is_open()) return false;
  bool ok = temp_file_.sync();
  ok = temp_file_.close() && ok;
  if (!ok) {
    delete_file(temp_);
    return false;
  }
  closed_written_ = true;
  return true;
}

bool ReplacingWriter::commit(ThroughToDisk through) {
  bool ok = closed_written_;
  if (!closed_written_) {
    if (!temp_file_.is_open()) return false;
    ok = through == ThroughToDisk::no || temp_file_.sync();
    ok = temp_file_.close() && ok;
  }
  closed_written_ = false;
  // Without the disk, the old file goes first: a file system that makes
  // sure of the new file's data when it replaces another (ext4) then need
  // not. The old file goes only once the new one is whole.
  if (ok && through == ThroughToDisk::no && file_exists(path_)) delete_file(path_);
  ok = ok && replace_file(temp_, path_);
  if (!ok) delete_file(temp_);
  return ok;
}

bool ReplacingWriter::keep_as(const std::string& name) {
  if (!closed_written_) return false;
  closed_written_ = false;
  if (replace_file(temp_, name)) return true;
  delete_file(temp_);
  return false;
}

void ReplacingWriter::discard() {
  if (temp_file_.is_open()) {
    temp_file_.close();
  } else if (!closed_written_) {
    return;
  }
  closed_written_ = false;
  delete_file(temp_);
}
