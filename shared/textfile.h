// Reading and writing the line-oriented text files of the system.
//
// Files are read as lines that end in CR LF or LF alike (the CR is not part of
// the line; a last line may lack its line end). Each line keeps at most the
// reader's capacity of characters, as the simulator writes no longer lines;
// the rest of a longer line is skipped without being stored. Every byte but
// the line end is kept as it is, a NUL or any other control byte included.
// Files are written with CR LF line ends, as Windows text files are.
#ifndef MALVET_SHARED_TEXTFILE_H
#define MALVET_SHARED_TEXTFILE_H

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// The line length of every settings file and table the programs read.
inline constexpr std::size_t line_capacity = 80;

class LineReader {
 public:
  // Opens an existing file for reading; `path` is a system path with "\".
  LineReader(const std::string& path, std::size_t capacity);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool is_open() const { return file_ != nullptr; }

  // The next line, cut at the capacity; empty at the end of the file or on a
  // read error (failed() tells which).
  std::optional<std::string> next();

  // True when a read error, not the end of the file, stopped the reading.
  bool failed() const { return failed_; }

  // Back to the first line.
  void rewind();

 private:
  std::FILE* file_ = nullptr;
  std::size_t capacity_;
  bool failed_ = false;
};

class LineWriter {
 public:
  LineWriter() = default;
  ~LineWriter();
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Opens `path` (a system path with "\") with the fopen() `mode` "wb" or
  // "ab"; false when it can't be opened.
  bool open(const std::string& path, const char* mode);
  bool is_open() const { return file_ != nullptr; }

  // Opens `path` for writing without emptying it: an existing file keeps its
  // content until the first line is written, which replaces it all; a missing
  // file is created empty. False when it can't be opened for writing.
  bool open_keeping(const std::string& path);

  // Writes the text and CR LF; false once any write has failed.
  bool write_line(std::string_view text);

  // Flushes and closes; false when a write or the close failed.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
  bool empty_on_write_ = false;
  bool ok_ = true;
};

#endif
