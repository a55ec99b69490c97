// Reading and writing the line-oriented text files of the system.
//
// Files are read as lines that end in CR LF, LF or a lone CR alike (the line
// end is not part of the line; a last line may lack it). Each line keeps at
// most the reader's capacity of characters, as the simulator writes no longer
// lines; the rest of a longer line is skipped without being stored. Every
// other byte is kept as it is, a NUL or any other control byte included. A
// file that begins with a UTF-16LE byte-order mark (as Notepad may save it)
// is read as single-byte text of the machine's code page, a character it
// lacks becoming "?"; a UTF-8 byte-order mark is skipped. Files are written
// with CR LF line ends, as Windows text files are.
#ifndef MALVET_SHARED_TEXTFILE_H
#define MALVET_SHARED_TEXTFILE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/text.h"

// The line length of every settings file and table the programs read.
inline constexpr std::size_t line_capacity = 80;

// Where lines come from: a file, or in the tests a stand-in that fails or
// changes as a file may.
class LineSource {
 public:
  virtual ~LineSource() = default;

  // The next line; empty at the end of the lines or on a read error (failed()
  // tells which).
  virtual std::optional<std::string> next() = 0;

  // True when a read error, not the end, stopped the reading.
  virtual bool failed() const = 0;
};

// Opens a file's lines from their start, for a reader that goes over them
// more than once.
using LineOpener = std::function<std::unique_ptr<LineSource>()>;

// What a pass over a file saw: its lines' digest, to tell whether two passes
// read the same lines.
class LineDigest {
 public:
  void add(std::string_view line) {
    for (char c : line) mix(static_cast<unsigned char>(c));
    mix(0x100);  // the line's end
  }
  bool operator==(const LineDigest& other) const { return hash_ == other.hash_; }

 private:
  void mix(unsigned value) { hash_ = (hash_ ^ value) * 0x100000001B3ULL; }
  std::uint64_t hash_ = 0xCBF29CE484222325ULL;
};

class LineReader : public LineSource {
 public:
  // Opens an existing file for reading; `path` is a system path with "\".
  // The file is read once from its start, never sought: a pipe reads as
  // well as a file.
  LineReader(const std::string& path, std::size_t capacity);
  ~LineReader() override;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool is_open() const { return file_ != nullptr; }

  // The next line, cut at the capacity; empty at the end of the file or on a
  // read error (failed() tells which; a file that did not open has failed).
  std::optional<std::string> next() override;

  bool failed() const override { return failed_; }

  // Closes the file before the reader goes.
  void close();

 private:
  // Makes the buffer hold at least `n` bytes from the next one on, reading
  // more of the file; false when the end or an error comes first (failed_
  // then set).
  bool have(std::size_t n);
  // The next character (a byte, or a UTF-16 unit), without taking it; EOF
  // at the end or on an error.
  int peek();
  // The lines of each kind of file.
  std::optional<std::string> next_bytes_line();
  std::optional<std::string> next_utf16_line();

  std::FILE* file_ = nullptr;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;  // left as read: never filled first
  std::size_t buffer_size_ = 0;
  std::size_t at_ = 0;   // the next byte of the buffer
  std::size_t end_ = 0;  // the end of what the buffer holds
  bool utf16_ = false;   // UTF-16LE, read in the code page
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

  // Makes `path` new as a passing file (see create_passing_file) and opens
  // it for writing; false when the name is taken by something else than a
  // leftover file, or the file can't be made.
  bool open_passing(const std::string& path);

  // Opens `path` for writing without emptying it: an existing file keeps its
  // content until the first line is written, which replaces it all; a missing
  // file is created empty. False when it can't be opened for writing.
  bool open_keeping(const std::string& path);

  // Writes the text and CR LF; false once any write has failed.
  bool write_line(std::string_view text);

  // Writes the bytes as they are; false once any write has failed.
  bool write(std::string_view bytes);

  // Hands what was written to the system; false once any write has failed.
  bool flush();

  // Writes what was written through to the disk; false when that failed.
  bool sync();

  // Flushes and closes; false when a write or the close failed.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  bool empty_on_write_ = false;
  bool ok_ = true;
};

// Writes a file anew through a temporary file beside it ("<name>.new"), which
// takes the file's place in one step on commit(): until then, and whenever the
// run is cut short, the old file stays whole.
class ReplacingWriter {
 public:
  ReplacingWriter() = default;
  ~ReplacingWriter() { discard(); }
  ReplacingWriter(const ReplacingWriter&) = delete;
  ReplacingWriter& operator=(const ReplacingWriter&) = delete;

  // The temporary file's name beside `path`.
  static std::string temporary_name(const std::string& path) { return path + ".new"; }

  // Starts the temporary file, made new (a leftover one of a run cut short
  // goes first); false when the file can't be written: no name, a folder of
  // that name, an existing file that does not open for writing, a folder
  // where no file can be made, or a temporary name taken by something else
  // (a link or a folder, never written through).
  bool open(const std::string& path);

  // Writes the text and CR LF to the temporary file.
  void write_line(std::string_view text);

  // Writes every byte of the file `from` to the temporary file, as they
  // are; false when `from` can't be read to its end.
  bool copy_from(const std::string& from);

  // The number of lines written so far.
  std::size_t lines() const { return lines_; }

  // Hands what was written to the system: false once a write has failed (a
  // full disk), which commit() would then refuse.
  bool flush() { return temp_file_.flush(); }

  // Writes the temporary file through to the disk and closes it, to be read
  // back before commit() puts it in place; false when that failed.
  bool close_written();

  // The temporary file's name while it is written or closed written.
  const std::string& temporary() const { return temp_; }

  // Gives the temporary file, closed written, the name `name` in place of
  // the file's (replacing what has it); false when that failed.
  bool keep_as(const std::string& name);

  // Writes the temporary file through to the disk and puts it in the file's
  // place; false when any step failed (the old file then stays). With
  // ThroughToDisk::no, for a file made anew on every run, the data is only
  // handed to the system, and the old file is removed just before the new
  // one takes its name: when that last step fails, neither is left.
  enum class ThroughToDisk { no, yes };
  bool commit(ThroughToDisk through = ThroughToDisk::yes);

  // Drops the temporary file; the old file stays as it was.
  void discard();

 private:
  LineWriter temp_file_;
  std::string path_;
  std::string temp_;
  std::size_t lines_ = 0;
  bool closed_written_ = false;
};

#endif
