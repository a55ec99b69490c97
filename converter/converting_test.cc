#include "converter/converting.h"

#include <gtest/gtest.h>

#include "tests/scripted_file.h"
#include "tests/test_support.h"

TEST(Converting, TwoPassesThatMustReadAlike) {
  const Brin23Words& w = brin23_words(Language::english);
  const std::vector<std::string> a = {"[K]", "3001=25"}, b = {"[K]", "3001=30"};
  struct Case {
    const char* what;
    std::vector<std::string> old;  // the version-3 file the run keeps from
    std::vector<ScriptedFile::Reading> readings;
    std::size_t opens;
    std::optional<std::string> written;  // nothing after a box
    std::string box;                     // what the box says after the name
  };
  const Case cases[] = {
      {"another value between the passes, the same size: read again, as it then is",
       {"[K]", "3500=9"},
       {{a}, {b}, {b}},
       4,
       "[K]\r\n3101=30\r\n3500=9\r\n",
       ""},
      {"changing at every reading: three tries, then a box",
       {"[K]", "3500=9"},
       {{a}, {b}, {a}, {b}, {a}, {b}},
       6,
       std::nullopt,
       w.changed_while_read},
      {"a read error in the first pass: a box",
       {"[K]", "3500=9"},
       {{a, 1}, {a}},
       1,
       std::nullopt,
       w.shared->error_opening},
      {"nothing of the old file's own to keep: one pass",
       {"[K]", "3101=9"},
       {{a}, {b}},
       1,
       "[K]\r\n3101=25\r\n",
       ""},
  };
  TempDir dir;
  dir.write("answers.txt", "");
  ScopedEnv answers("MALVET_DIALOGS", dir.file("answers.txt"));
  ScopedEnv transcript("MALVET_DIALOG_LOG", dir.file("dialogs.log"));
  ScriptedFile table({{{"3101=3001"}}});
  std::optional<CommandMap> k_v3 = read_command_map(*table.opener()());
  ASSERT_TRUE(k_v3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedFile old_lines({{c.old}});
    OldFile old = read_old_file(*old_lines.opener()(), VersionThreeOnly(*k_v3));
    ScriptedFile source(c.readings);
    Brin23Run run(w);
    ReplacingWriter writer;
    const std::string target = dir.file("controls.ini");
    ASSERT_TRUE(writer.open(target));
    dir.write("dialogs.log", "");
    Listener quiet;
    std::optional<Converted> done = write_conversion(
        run, "S.ini", source.opener(), {*k_v3, old, true, nullptr}, target, writer, quiet);
    EXPECT_EQ(source.opens(), c.opens);
    EXPECT_EQ(done.has_value(), c.written.has_value());
    if (c.written) {
      ASSERT_TRUE(writer.flush());
      EXPECT_EQ(dir.read(ReplacingWriter::temporary_name("controls.ini")), *c.written);
      EXPECT_EQ(dir.read("dialogs.log"), "");
    } else {
      // (A box breaks its lines at "/", which the transcript writes "\n".)
      std::string box = c.box;
      for (std::size_t at = box.find('/'); at != std::string::npos; at = box.find('/', at)) {
        box.replace(at, 1, "\\n");
      }
      EXPECT_EQ(dir.read("dialogs.log"), "box|error|Tavlet (beta)|S.ini" + box + "\r\n");
    }
  }
}
