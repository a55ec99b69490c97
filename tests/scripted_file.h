// A file read as a script says, for the tests of readers that open a file
// more than once.
#ifndef MALVET_TESTS_SCRIPTED_FILE_H
#define MALVET_TESTS_SCRIPTED_FILE_H

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shared/textfile.h"

// A file read as a script says: each opening gives the next of
// `readings` (its lines, and after how many of them a read error comes,
// when it does; the last reading is given again once they run out).
class ScriptedFile {
 public:
  struct Reading {
    std::vector<std::string> lines;
    std::size_t fails_after = SIZE_MAX;
  };
  explicit ScriptedFile(std::vector<Reading> readings) : readings_(std::move(readings)) {}

  LineOpener opener() {
    return [this] {
      const Reading& r = readings_[std::min(opens_++, readings_.size() - 1)];
      return std::make_unique<Source>(r);
    };
  }
  std::size_t opens() const { return opens_; }

 private:
  class Source : public LineSource {
   public:
    explicit Source(const Reading& r) : r_(r) {}
    std::optional<std::string> next() override {
      if (at_ == r_.fails_after) failed_ = true;
      if (failed_ || at_ == r_.lines.size()) return std::nullopt;
      return r_.lines[at_++];
    }
    bool failed() const override { return failed_; }

   private:
    const Reading& r_;
    std::size_t at_ = 0;
    bool failed_ = false;
  };
  std::vector<Reading> readings_;
  std::size_t opens_ = 0;
};

#endif
