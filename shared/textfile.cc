#include "shared/textfile.h"

#include "shared/platform.h"
#include "shared/text.h"

LineReader::LineReader(const std::string& path, std::size_t capacity)
    : file_(open_file(path, "rb")), capacity_(capacity) {}

LineReader::~LineReader() { close(); }

void LineReader::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

std::optional<std::string> LineReader::next() {
  if (file_ == nullptr || failed_) return std::nullopt;
  std::string line;
  bool any = false;
  int c;
  while ((c = std::getc(file_)) != EOF) {
    any = true;
    if (c == '\n') break;
    // A CR counts only as part of the line end; one inside the line stays.
    if (c == '\r') {
      int after = std::getc(file_);
      if (after == '\n' || after == EOF) break;
      std::ungetc(after, file_);
    }
    if (line.size() < capacity_) line.push_back(static_cast<char>(c));
  }
  if (std::ferror(file_)) {
    failed_ = true;
    return std::nullopt;
  }
  if (!any) return std::nullopt;
  return line;
}

void LineReader::rewind() {
  if (file_ == nullptr) return;
  std::rewind(file_);
  failed_ = false;
}

LineWriter::~LineWriter() { close(); }

bool LineWriter::open(const std::string& path, const char* mode) {
  close();
  ok_ = true;
  empty_on_write_ = false;
  file_ = open_file(path, mode);
  return file_ != nullptr;
}

bool LineWriter::open_keeping(const std::string& path) {
  close();
  ok_ = true;
  path_ = path;
  file_ = open_file(path, "r+b");
  if (file_ == nullptr && !file_exists(path)) file_ = open_file(path, "wb");
  empty_on_write_ = file_ != nullptr;
  return file_ != nullptr;
}

bool LineWriter::write_line(std::string_view text) {
  if (file_ == nullptr) return false;
  if (empty_on_write_) {
    empty_on_write_ = false;
    std::fclose(file_);
    file_ = open_file(path_, "wb");
    if (file_ == nullptr) {
      ok_ = false;
      return false;
    }
  }
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() ||
      std::fputs("\r\n", file_) == EOF) {
    ok_ = false;
  }
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
  temp_ = path + ".new";
  lines_ = 0;
  if (is_blank(path) || folder_exists(path)) return false;
  if (file_exists(path)) {
    std::FILE* existing = open_file(path, "r+b");
    if (existing == nullptr) return false;
    std::fclose(existing);
  }
  return temp_file_.open(temp_, "wb");
}

void ReplacingWriter::write_line(std::string_view text) {
  temp_file_.write_line(text);
  ++lines_;
}

bool ReplacingWriter::commit() {
  if (!temp_file_.is_open()) return false;
  bool ok = temp_file_.sync();
  ok = temp_file_.close() && ok && replace_file(temp_, path_);
  if (!ok) delete_file(temp_);
  return ok;
}

void ReplacingWriter::discard() {
  if (!temp_file_.is_open()) return;
  temp_file_.close();
  delete_file(temp_);
}
