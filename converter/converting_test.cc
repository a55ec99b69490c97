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

TEST(Converting, EveryLineAccountedForOnce) {
  // Told to a listener that notes, in order, what became of each line of
  // the source ("H"eader, "C"arried, "R"enamed, "N"ot carried,
  // "U"nreadable) and of each of the old file's own bindings.
  struct Notes : Listener {
    std::string fates;
    std::vector<std::string> old;
    void source_line(const SourceLine& line) override { fates += "HCRNU"[static_cast<int>(line.fate)]; }
    void old_binding(const OldOutcome& o) override {
      old.push_back((o.kept ? "kept " : "left ") + o.binding->line +
                    (o.owner ? " by " + std::to_string(*o.owner) : ""));
    }
  };
  struct Case {
    const char* what;
    std::vector<std::string> source, old;
    bool keeping;
    std::string fates;
    std::vector<std::string> outcomes;
  };
  const std::vector<std::string> old = {"[K]", "3500=18", "3501=19", "[{JOY}]", "3101=48"};
  const Case cases[] = {
      {"every fate of a source's line; blank lines are none",
       {"3001=1", "[K]", "3001=25", "3002=30", "", "3003=1", "x=2", "4001=3", "1000 = 4"},
       {},
       false,
       "CHCRNUUC",
       {}},
      {"-keep: what is free is kept, what a carried binding took is left out, named",
       {"[K]", "3001=18"},
       old,
       true,
       "HC",
       {"left 3500=18 by 3101", "kept 3501=19", "kept 3101=48"}},
      {"a plain conversion leaves out all the old file's own",
       {"[K]", "3001=18"},
       old,
       false,
       "HC",
       {"left 3500=18", "left 3501=19", "left 3101=48"}},
  };
  ScriptedFile table({{{"3101=3001", "3102=3002", "2001=1000"}}});
  std::optional<CommandMap> k_v3 = read_command_map(*table.opener()());
  ASSERT_TRUE(k_v3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedFile old_lines({{c.old}});
    OldFile old_file = read_old_file(*old_lines.opener()(), VersionThreeOnly(*k_v3));
    ScriptedFile source({{c.source}});
    Notes notes;
    PassFailure failure;
    std::optional<Converted> done = make_new_file(
        source.opener(),
        {*k_v3, old_file, c.keeping, [](std::int32_t v2, std::int32_t) { return v2 == 3002; }},
        notes, [] { return true; }, failure);
    ASSERT_TRUE(done);
    EXPECT_EQ(notes.fates, c.fates);
    EXPECT_EQ(notes.old, c.outcomes);
  }
}
