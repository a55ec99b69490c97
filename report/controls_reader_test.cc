#include "report/controls_reader.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <memory>

#include "report/analysis.h"
#include "report/report_writer.h"
#include "shared/devices.h"
#include "shared/textfile.h"
#include "tests/scripted_file.h"
#include "tests/test_support.h"

namespace {

const std::string stick = "[{9F6A1A40-D1E6-11E9-8001-444553540000}]";

class Model : public ::testing::Test {
 protected:
  DeviceTable read(const std::string& content) {
    dir_.write("controls.ini", content);
    LineOpener open = [&] {
      return std::make_unique<LineReader>(dir_.file("controls.ini"), line_capacity);
    };
    testing::internal::CaptureStdout();
    EXPECT_TRUE(read_controls_file(open, commands_, ctx_, model_));
    testing::internal::GetCapturedStdout();
    return model_.devices;
  }

  // True when a binding of the kind binds the index of joystick 1.
  bool binds(BindingKind kind, std::int32_t index) const {
    for (const Binding& b : model_.bindings) {
      if (b.kind == kind && b.joystick == 1 && b.code == index) return true;
    }
    return false;
  }

  std::vector<std::string> rows() const {
    return render_rows(model_.bindings, layout_, texts_).line_csv;
  }

  TempDir dir_;
  ScopedCwd cwd_{dir_.path()};
  ScopedEnv registry_{"MALVET_REGISTRY", std::nullopt};
  CommandTable commands_ = {{1000, "Roll"}, {3001, "Pause"}, {3002, "Brake"}};
  ScanCodeTable keys_ = {{25, "P"}, {30, "A"}};
  std::vector<Joystick> joysticks_ = {{"Stick", stick, 4, 8}};
  Layout layout_ = make_layout(5, ',');
  ReportTexts texts_ = report_texts(Language::english);
  ControlsContext ctx_{keys_, joysticks_, false};
  VersionModel model_;
};

// A controls.ini as the simulator may leave it while it is read: it grows by
// one more section each time a reading reaches its end, `growths` times at
// most; or a read fails after `good` lines.
class ChangingFile {
 public:
  explicit ChangingFile(int growths, std::size_t good = SIZE_MAX)
      : growths_(growths), good_(good) {}

  LineOpener opener() {
    return [this] { return std::make_unique<Reading>(*this); };
  }

 private:
  class Reading : public LineSource {
   public:
    explicit Reading(ChangingFile& file) : file_(file) {}
    std::optional<std::string> next() override {
      if (file_.given_ == file_.good_) {
        failed_ = true;
        return std::nullopt;
      }
      if (at_ == file_.lines_.size()) {
        if (file_.growths_-- > 0) {
          file_.lines_.push_back("[Grown " + std::to_string(file_.lines_.size()) + "]");
          file_.lines_.push_back("1000=1000");
        }
        return std::nullopt;
      }
      ++file_.given_;
      return file_.lines_[at_++];
    }
    bool failed() const override { return failed_; }

   private:
    ChangingFile& file_;
    std::size_t at_ = 0;
    bool failed_ = false;
  };

  std::vector<std::string> lines_ = {"[Keys]", "3001=25", stick, "3002=48"};
  int growths_;
  std::size_t given_ = 0, good_;
};

}  // namespace

TEST_F(Model, TwoPassesThatMustReadAlike) {
  const std::vector<std::string> a = {"[Keys]", "3001=25"}, b = {"[Keys]", "3001=30"};
  struct Case {
    const char* what;
    std::vector<ScriptedFile::Reading> readings;
    bool read;
    std::size_t opens;
    std::int32_t value;  // the last value of Pause when read
  };
  const Case cases[] = {
      {"another value between the passes, the same size and sections: read again",
       {{a}, {b}, {b}, {b}},
       true,
       4,
       30},
      {"the same bytes, a line end moved between the passes: read again",
       {{a}, {{"[Keys]", "3001=2", "5"}}},
       true,
       4,
       2},
      {"a read error is no end, even when a second try would read", {{a, 1}, {a}}, false, 1, 0},
      {"a read error after the last line", {{a, 2}}, false, 1, 0},
      {"a read error in the second pass", {{a}, {a, 1}}, false, 2, 0},
      {"changing at every reading: three tries, then nothing",
       {{a}, {b}, {a}, {b}, {a}, {b}},
       false,
       6,
       0},
  };
  testing::internal::CaptureStdout();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedFile file(c.readings);
    VersionModel v;
    EXPECT_EQ(read_controls_file(file.opener(), commands_, ctx_, v), c.read);
    EXPECT_EQ(file.opens(), c.opens);
    if (c.read) {
      EXPECT_EQ(v.k_cmd[1], c.value);
    } else {
      EXPECT_TRUE(v.bindings.empty());
    }
  }
  testing::internal::GetCapturedStdout();
}

TEST_F(Model, BothPassesReadTheSameFileOrNothingIsKept) {
  testing::internal::CaptureStdout();
  // Grown between the passes once: read again, as it then is.
  ChangingFile grown_once(1);
  ASSERT_TRUE(read_controls_file(grown_once.opener(), commands_, ctx_, model_));
  EXPECT_EQ(model_.devices.ndev(), 3);
  EXPECT_EQ(model_.devices.sections.size(), 3u);
  EXPECT_EQ(model_.bindings.size(), 2u);

  // Grown at every reading, or a read that fails: nothing is kept of a file
  // read in part.
  for (ChangingFile changing : {ChangingFile(1000), ChangingFile(0, 3), ChangingFile(0, 6)}) {
    VersionModel untouched;
    EXPECT_FALSE(read_controls_file(changing.opener(), commands_, ctx_, untouched));
    EXPECT_TRUE(untouched.bindings.empty());
    EXPECT_TRUE(untouched.k_cmd.empty());
    EXPECT_EQ(untouched.devices.ndev(), 0);
  }
  testing::internal::GetCapturedStdout();
}

TEST_F(Model, KeyboardSectionByCountWhateverItsHeader) {
  DeviceTable dev = read("[Anything]\n3001=25\n3002=30\n[Other]\n3001=25\n");
  EXPECT_EQ(dev.ndev(), 2);
  EXPECT_EQ(dev.ikbd(), 1);
  EXPECT_EQ(dev.max_cmd_dev, 2);
  dev = read("[A]\n3001=25\n[B]\n3001=30\n");  // a tie: the earlier one
  EXPECT_EQ(dev.ikbd(), 1);
  dev = read("[A]\n1000=25\n[B]\n4000=30\n");  // no key command at all
  EXPECT_EQ(dev.ikbd(), 0);
}

TEST_F(Model, AJoystickSectionWithTheMostKeyCommandsIsTheKeyboard) {
  DeviceTable dev = read("[Keys]\n3001=25\n" + stick + "\n3001=49\n3002=48\n");
  EXPECT_EQ(dev.ikbd(), 2);
  EXPECT_EQ(dev.joyid(2), 1);
  // Read as the keyboard: 49 and 48 are scan codes, not buttons.
  EXPECT_FALSE(binds(BindingKind::button, 1));
  EXPECT_EQ(rows()[1], "\"Pause\",\"Unrecognized key\",\" \",");
}

TEST_F(Model, HeadersMatchAsWindowsReadsThemAndOnlyAfterTheFirstSection) {
  // A header names its section as Windows' profile functions read it: what
  // follows its "]" and blanks or tabs around its name count for nothing,
  // nor does letter case; a "[" not in the first column opens none.
  std::string other = "[ " + stick.substr(1, stick.size() - 2) + " ]\t; a note";
  for (char& c : other) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  DeviceTable dev = read(stick + "\n3001=25\n" + stick + "\n1000=1024\n" + other +
                         "\n1000=1006\n [Blank first]\n[{Another}]\n1000=1010\n");
  EXPECT_EQ(dev.ndev(), 4);
  EXPECT_EQ(dev.joyid(1), 0);  // the first section is never a joystick
  EXPECT_EQ(dev.joyid(2), 1);
  EXPECT_EQ(dev.joyid(3), 1);
  EXPECT_EQ(dev.joyid(4), 0);
  EXPECT_TRUE(binds(BindingKind::axis, 6));   // 1024: (24) / 4
  EXPECT_TRUE(binds(BindingKind::axis, 1));   // 1006
  EXPECT_FALSE(binds(BindingKind::axis, 2));  // 1010 was in the unmatched section
}

TEST_F(Model, EntriesThatDoNotReadOrFitAreLeftOut) {
  read("3001=25\n[Keys]\n3001=25\nx=30\n3002=y\n3001=30\n" + stick +
       "\n3002=47\n3002=561\n3002=560\n1000=-4\n1000=1132\n1000=1128\n");
  EXPECT_EQ(rows(), (std::vector<std::string>{
                        "\"Pause\",\"P\",\"Keyboard\",", "\"Pause\",\"A\",\"Keyboard\",",
                        "\"Brake\",\"Button 512\",\"Stick\",",  // 561 - 48 lies past 512
                        "\"Roll\",\"32 Axis\",\"Stick\","}));
  EXPECT_EQ(model_.k_cmd[1], 30);
  EXPECT_EQ(model_.k_cmd[2], 560);
}

TEST_F(Model, UnattachedDevicesBindOnlyKeyCommandsAboveThreeThousand) {
  commands_.push_back({3000, "Trim"});
  read(
      "[Keys]\n3001=25\n3999=1\n[{00000000-0000-0000-0000-000000000000}]\n1000=1000\n"
      "3002=48\n3000=48\n4000=48\n");
  testing::internal::CaptureStdout();
  add_unbound_commands(commands_, texts_, model_.bindings);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(rows(),
            (std::vector<std::string>{
                "\"Roll\",\"Unassigned\",\" \",", "\"Pause\",\"P\",\"Keyboard\",",
                "\"Brake\",\"Not assigned to a keyboard key" + std::string(34, ' ') + "\",\" \",",
                "\"Trim\",\"Unassigned\",\" \","}));
  EXPECT_EQ(model_.k_cmd[2], never_bound);
  // Roll's axis (1000, the first) is kept apart, for the card alone.
  ASSERT_EQ(model_.unattached_axes.size(), 1u);
  EXPECT_EQ(model_.unattached_axes[0].command, "Roll");
  EXPECT_EQ(model_.unattached_axes[0].code, 0);
  EXPECT_EQ(model_.unattached_axes[0].device, "[{00000000-0000-0000-0000-000000000000}]");
}

TEST_F(Model, RowsSortByCommandKeepingTheFileOrder) {
  read("[Keys]\n3002=30\n3001=25\n3002=25\n" + stick + "\n3002=48\n");
  testing::internal::CaptureStdout();
  add_unbound_commands(commands_, texts_, model_.bindings);
  testing::internal::GetCapturedStdout();
  std::vector<std::int32_t> positions;
  for (const Binding& b : model_.bindings) positions.push_back(b.position + 1);
  EXPECT_EQ(positions, (std::vector<std::int32_t>{1, 2, 3, 3, 3}));
  EXPECT_EQ(rows()[2], "\"Brake\",\"A\",\"Keyboard\",");
  EXPECT_EQ(rows()[3], "\"Brake\",\"P\",\"Keyboard\",");
  EXPECT_EQ(rows()[4], "\"Brake\",\"Button 0\",\"Stick\",");
  EXPECT_EQ(model_.k_cmd[2], 48);  // the later binding
}
