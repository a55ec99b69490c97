#include "report/sibling.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/test_support.h"

namespace {

class Sibling : public ::testing::Test {
 protected:
  void SetUp() override {
    keys_ = {{30, "A"}, {2, "1"}, {200, "Up"}, {256, "X256"}, {57, "Space"}, {48, "B"}};
    q_key_.assign(maxkey, false);
  }

  bool read(bool qfr, const std::string& content) {
    dir_.write("Tool.ini", content);
    return read_file(qfr, "Tool.ini");
  }

  bool read_file(bool qfr, const std::string& name) {
    ReportFiles report;
    report.open_text("Controls.txt");
    report.open_csv("Controls.csv");
    report.set_layout(make_layout(4, qfr));
    testing::internal::CaptureStdout();
    bool ok = read_tool_ini(qfr, name, keys_, q_key_, report);
    testing::internal::GetCapturedStdout();
    report.close();
    return ok;
  }

  // A text row laid out for lmax 4: columns 1, 9 and 39.
  static std::string row(const std::string& key, const std::string& text,
                         const std::string& device) {
    std::string line = key;
    line.resize(8, ' ');
    line += text;
    line.resize(38, ' ');
    return line + device + "\r\n";
  }

  std::vector<bool> marked() const {
    std::vector<bool> m(q_key_.begin(), q_key_.begin() + keys_.size());
    return m;
  }

  TempDir dir_;
  ScopedCwd cwd_{dir_.path()};
  ScanCodeTable keys_;
  std::vector<bool> q_key_;
};

}  // namespace

TEST_F(Sibling, ThreeFormsInFileOrder) {
  EXPECT_TRUE(read(false,
                   "[Keys]\r\n"
                   "KeyPause=\"1\"\r\n"
                   "KeyView = SCN328\r\n"
                   "KeyLook:ASC65\r\n"
                   "KeyBoth=\"x\" SCN30\r\n"
                   "keyLower=SCN57\r\n"
                   "# KeyComment=SCN57\r\n"
                   "  KeyIndented=SCN256\r\n"
                   "KeyBad=SCNx\r\n"
                   "KeyEmpty=ASC\r\n"
                   "KeyNone=57\r\n"
                   "Other=SCN48\r\n"));
  EXPECT_EQ(dir_.read("Controls.txt"), " \r\nTool.ini\r\n \r\n" + row("KeyPause", "1", "Keyboard") +
                                           row("KeyView", "Up", "Keyboard") +
                                           row("KeyLook", "A", "Keyboard") +
                                           row("KeyBoth", "x", "Keyboard") + "KeyIndented" +
                                           std::string(27, ' ') + "Keyboard\r\n");
  EXPECT_EQ(dir_.read("Controls.csv"),
            " \r\nTool.ini\r\n \r\n"
            "\"KeyPause\",=\"1\",\"Keyboard\",\r\n"
            "\"KeyView\",\"Up\",\"Keyboard\",\r\n"
            "\"KeyLook\",\"A\",\"Keyboard\",\r\n"
            "\"KeyBoth\",\"x\",\"Keyboard\",\r\n"
            "\"KeyIndented\",\"\",\"Keyboard\",\r\n");
  // "1" by its name, 328 as 200, "A" by its name, 256 as it stands.
  EXPECT_EQ(marked(), (std::vector<bool>{true, true, true, true, false, false}));
}

TEST_F(Sibling, FrenchDeviceNameAndSeparator) {
  EXPECT_TRUE(read(true, "Key1=SCN57\n"));
  EXPECT_EQ(dir_.read("Controls.csv"), " \r\nTool.ini\r\n \r\n\"Key1\";\"Space\";\"Clavier\";\r\n");
}

TEST_F(Sibling, EmptyTableMarksNothing) {
  keys_.clear();
  EXPECT_TRUE(read(false, "Key1=SCN57\n"));
  EXPECT_EQ(std::count(q_key_.begin(), q_key_.end(), true), 0);
}

TEST_F(Sibling, MissingFileWritesNothing) {
  dir_.write("Controls.txt", "old\r\n");
  EXPECT_FALSE(read_file(false, "..\\Palvik\\Settings\\Palvik.ini"));
  EXPECT_EQ(dir_.read("Controls.txt"), "old\r\n");
}
