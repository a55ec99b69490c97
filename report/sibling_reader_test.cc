#include "report/sibling_reader.h"

#include <gtest/gtest.h>

#include "tests/scripted_file.h"
#include "tests/test_support.h"

namespace {

class Sibling : public ::testing::Test {
 protected:
  void SetUp() override {
    keys_ = {{30, "A"}, {2, "1"}, {200, "Up"}, {256, "X256"}, {57, "Space"}, {48, "B"}};
  }

  std::optional<ToolKeys> read(const std::string& content) {
    dir_.write("Tool.ini", content);
    return read_file("Tool.ini");
  }

  std::optional<ToolKeys> read_file(const std::string& name) {
    testing::internal::CaptureStdout();
    std::optional<ToolKeys> taken = read_tool_ini("Palvik", name, keys_);
    testing::internal::GetCapturedStdout();
    return taken;
  }

  // Each key read as "setting text code entry".
  static std::vector<std::string> lines(const ToolKeys& taken) {
    std::vector<std::string> out;
    for (const TakenKey& k : taken.keys) {
      out.push_back(k.setting + " " + k.text + " " + std::to_string(k.code) + " " +
                    std::to_string(k.entry));
    }
    return out;
  }

  TempDir dir_;
  ScopedCwd cwd_{dir_.path()};
  ScanCodeTable keys_;
};

}  // namespace

TEST_F(Sibling, ThreeFormsInFileOrder) {
  std::optional<ToolKeys> taken = read(
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
      "Other=SCN48\r\n");
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->tool, "Palvik");
  EXPECT_EQ(taken->path, "Tool.ini");
  EXPECT_TRUE(taken->whole);
  // "1" by its name, 328 as 200, "A" by its name, 256 as it stands.
  EXPECT_EQ(lines(*taken),
            (std::vector<std::string>{"KeyPause 1 2 1", "KeyView Up 200 2", "KeyLook A 30 0",
                                      "KeyBoth x -1 -1", "KeyIndented  256 3"}));
}

TEST_F(Sibling, EmptyTableMatchesNothing) {
  keys_.clear();
  std::optional<ToolKeys> taken = read("Key1=SCN57\n");
  ASSERT_TRUE(taken);
  EXPECT_EQ(lines(*taken), (std::vector<std::string>{"Key1 Space -1 -1"}));
}

TEST_F(Sibling, AMissingOrUnreadableFile) {
  EXPECT_FALSE(read_file("..\\Palvik\\Settings\\Palvik.ini"));
  // Read in part: what was read is kept, and the file does not count.
  std::optional<ToolKeys> failing = read_file("/proc/self/mem");
  ASSERT_TRUE(failing);
  EXPECT_FALSE(failing->whole);
  EXPECT_TRUE(failing->keys.empty());
  // A file that fails after a key is read short all the same.
  ScriptedFile cut({{{"KeyA=SCN57", "KeyB=SCN60"}, 1}});
  std::unique_ptr<LineSource> in = cut.opener()();
  ToolKeys after_a_key = read_tool_keys("Tool", "Tool.ini", *in, keys_);
  EXPECT_FALSE(after_a_key.whole);
  EXPECT_EQ(lines(after_a_key), (std::vector<std::string>{"KeyA Space 57 4"}));
}
