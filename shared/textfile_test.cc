#include "shared/textfile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "tests/test_support.h"

namespace {

std::vector<std::string> read_all(const std::string& path, std::size_t capacity) {
  LineReader reader(path, capacity);
  std::vector<std::string> lines;
  while (auto line = reader.next()) lines.push_back(*line);
  EXPECT_FALSE(reader.failed());
  return lines;
}

// Every line of `in` to its end; nothing when a read error stopped it.
std::optional<std::vector<std::string>> read_all_lines(LineSource& in) {
  std::vector<std::string> lines;
  while (std::optional<std::string> line = in.next()) lines.push_back(std::move(*line));
  if (in.failed()) return std::nullopt;
  return lines;
}

}  // namespace

TEST(LineReader, LineEndsCutsAndControlBytes) {
  TempDir dir;
  const char bytes[] = "crlf\r\nlf\n\r\nmid\rcr\nnul\0x\x01\nlast";
  dir.write("a.txt", std::string(bytes, sizeof bytes - 1));
  EXPECT_EQ(read_all(dir.file("a.txt"), 80),
            (std::vector<std::string>{"crlf", "lf", "", "mid", "cr", std::string("nul\0x\x01", 6),
                                      "last"}));

  dir.write("long.txt", std::string(10000, 'a') + "\nnext\n");
  auto lines = read_all(dir.file("long.txt"), 80);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(80, 'a'));
  EXPECT_EQ(lines[1], "next");

  dir.write("empty.txt", "");
  EXPECT_TRUE(read_all(dir.file("empty.txt"), 80).empty());
  dir.write("one.txt", "\n");
  EXPECT_EQ(read_all(dir.file("one.txt"), 80), (std::vector<std::string>{""}));
}

TEST(LineReader, OldMacLineEndsAndByteOrderMarks) {
  TempDir dir;
  dir.write("cr.txt", "[Keyboard]\r3001=25\r\r3002=30");
  EXPECT_EQ(read_all(dir.file("cr.txt"), 80),
            (std::vector<std::string>{"[Keyboard]", "3001=25", "", "3002=30"}));

  // Notepad's "Unicode": UTF-16LE, here with an e acute, a euro sign, a
  // character Windows-1252 lacks and one beyond the first plane.
  std::string utf16 = "\xFF\xFE";
  for (char16_t u : std::u16string(u"[K]\r\n3001=\u00E9\u20AC\u0416\xD83D\xDE00\r\nend")) {
    utf16.push_back(static_cast<char>(u & 0xFF));
    utf16.push_back(static_cast<char>(u >> 8));
  }
  dir.write("utf16.txt", utf16);
  LineReader reader(dir.file("utf16.txt"), 80);
  EXPECT_EQ(reader.next(), "[K]");
  EXPECT_EQ(reader.next(), "3001=\xE9\x80??");
  EXPECT_EQ(reader.next(), "end");
  EXPECT_EQ(reader.next(), std::nullopt);
  EXPECT_FALSE(reader.failed());

  dir.write("utf8.txt", "\xEF\xBB\xBF[K]\r\n");
  EXPECT_EQ(read_all(dir.file("utf8.txt"), 80), (std::vector<std::string>{"[K]"}));
  dir.write("mark.txt", "\xFF\xFE");  // a mark and nothing after it: no line
  EXPECT_TRUE(read_all(dir.file("mark.txt"), 80).empty());
  dir.write("odd.txt", "\xFF");  // a lone byte is no mark
  EXPECT_EQ(read_all(dir.file("odd.txt"), 80), (std::vector<std::string>{"\xFF"}));
}

TEST(LineReader, MissingFileAndFolderDoNotOpen) {
  TempDir dir;
  EXPECT_FALSE(LineReader(dir.file("missing.txt"), 80).is_open());
  EXPECT_FALSE(LineReader(dir.path(), 80).is_open());
}

TEST(LineReader, APipeAndAFailingReadAreNeverTakenForTheEnd) {
  // A pipe can't be sought: the byte-order mark is looked for without
  // losing the first line's first bytes.
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const std::string text = "[Keyboard]\r\n3001=57\r\n";
  ASSERT_EQ(write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fds[1]);
  LineReader piped("/dev/fd/" + std::to_string(fds[0]), 80);
  close(fds[0]);
  EXPECT_EQ(read_all_lines(piped), (std::vector<std::string>{"[Keyboard]", "3001=57"}));

  // A file whose every read fails, from the first: no line, and failed.
  LineReader failing("/proc/self/mem", 80);
  ASSERT_TRUE(failing.is_open());
  EXPECT_EQ(read_all_lines(failing), std::nullopt);
  EXPECT_TRUE(failing.failed());
  LineReader missing("/no/such/file", 80);
  EXPECT_EQ(read_all_lines(missing), std::nullopt);
}

TEST(LineWriter, WritesCrLf) {
  TempDir dir;
  LineWriter out;
  ASSERT_TRUE(out.open(dir.file("o.txt"), "wb"));
  EXPECT_TRUE(out.write_line("one"));
  EXPECT_TRUE(out.write_line(""));
  EXPECT_TRUE(out.close());
  ASSERT_TRUE(out.open(dir.file("o.txt"), "ab"));
  out.write_line("two");
  out.close();
  EXPECT_EQ(dir.read("o.txt"), "one\r\n\r\ntwo\r\n");
  EXPECT_FALSE(out.open(dir.file("no/such/folder/o.txt"), "wb"));
}

TEST(LineWriter, OpenKeepingLeavesTheOldContentUntilTheFirstLine) {
  TempDir dir;
  dir.write("old.txt", "old content\r\n");
  LineWriter out;
  ASSERT_TRUE(out.open_keeping(dir.file("old.txt")));
  out.close();
  EXPECT_EQ(dir.read("old.txt"), "old content\r\n");

  ASSERT_TRUE(out.open_keeping(dir.file("old.txt")));
  out.write_line("new");
  out.close();
  EXPECT_EQ(dir.read("old.txt"), "new\r\n");

  ASSERT_TRUE(out.open_keeping(dir.file("fresh.txt")));
  out.close();
  EXPECT_TRUE(std::filesystem::exists(dir.file("fresh.txt")));
  EXPECT_FALSE(out.open_keeping(dir.file("no/such/folder/x.txt")));
}

TEST(ReplacingWriter, TheOldFileStaysUntilCommit) {
  TempDir dir;
  dir.write("controls.ini", "old\r\n");
  {
    ReplacingWriter out;
    ASSERT_TRUE(out.open(dir.file("controls.ini")));
    out.write_line("new");
    EXPECT_EQ(dir.read("controls.ini"), "old\r\n");
    EXPECT_EQ(out.lines(), 1u);
  }  // gone without commit: nothing changes
  EXPECT_EQ(dir.read("controls.ini"), "old\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("controls.ini.new")));

  ReplacingWriter out;
  ASSERT_TRUE(out.open(dir.file("controls.ini")));
  out.write_line("new");
  EXPECT_TRUE(out.commit());
  EXPECT_EQ(dir.read("controls.ini"), "new\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("controls.ini.new")));

  ASSERT_TRUE(out.open(dir.file("fresh.ini")));  // a file that is not there yet
  out.write_line("x");
  EXPECT_TRUE(out.commit());
  EXPECT_EQ(dir.read("fresh.ini"), "x\r\n");

  // A copy is whole only when its source read to its end: a file that
  // fails as it is read, a folder, a file not there is no copy.
  dir.write("backup.bak", "kept\r\n");
  std::filesystem::create_symlink("/proc/self/mem", dir.file("failing.bak"));
  for (const char* from : {"backup.bak", "failing.bak", "", "missing.bak"}) {
    ASSERT_TRUE(out.open(dir.file("fresh.ini")));
    EXPECT_EQ(out.copy_from(*from ? dir.file(from) : dir.path()), *from == 'b') << from;
  }
  ASSERT_TRUE(out.open(dir.file("fresh.ini")));
  ASSERT_TRUE(out.copy_from(dir.file("backup.bak")));
  EXPECT_TRUE(out.commit());
  EXPECT_EQ(dir.read("fresh.ini"), "kept\r\n");

  // A file made anew on every run, not through to the disk: the same outcome.
  for (const char* text : {"page 1", "page 2"}) {
    ASSERT_TRUE(out.open(dir.file("Controls.html")));
    out.write_line(text);
    EXPECT_TRUE(out.commit(ReplacingWriter::ThroughToDisk::no));
    EXPECT_EQ(dir.read("Controls.html"), std::string(text) + "\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("Controls.html.new")));
  }
}

TEST(ReplacingWriter, NamesThatCantBeWritten) {
  TempDir dir;
  ReplacingWriter out;
  EXPECT_FALSE(out.open(""));
  EXPECT_FALSE(out.open(dir.path()));
  EXPECT_FALSE(out.open(dir.file("no/such/folder/controls.ini")));
}
