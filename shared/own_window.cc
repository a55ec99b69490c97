#include "shared/own_window.h"

#include <cstdio>

#include "shared/console.h"
#include "shared/platform.h"
#include "shared/text.h"

namespace {

// What an answer keeps of the line typed: a letter is all that is asked.
constexpr std::size_t answer_capacity = 64;

// The next line of standard input, at most its first 64 characters, without
// its line end; nothing at the end of the input.
std::optional<std::string> read_answer() {
  std::string line;
  int c;
  while ((c = std::fgetc(stdin)) != EOF && c != '\n') {
    if (line.size() < answer_capacity) line.push_back(static_cast<char>(c));
  }
  if (c == EOF && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

std::optional<std::string> wait_for_enter(std::string_view prompt) {
  drop_typed_ahead();
  console_parts({{" "}, {prompt, true}, {"\n"}});
  std::fflush(stdout);
  std::optional<std::string> line = read_answer();
  if (!line) return std::nullopt;
  std::size_t first = line->find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : trim(line->substr(first));
}
