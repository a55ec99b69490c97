#include "shared/own_window.h"

#include <cstdio>

#include "shared/console.h"
#include "shared/platform.h"
#include "shared/text.h"

std::optional<std::string> wait_for_enter(std::string_view prompt) {
  console_parts({{" "}, {prompt, true}, {"\n"}});
  std::fflush(stdout);
  std::optional<std::string> line = read_console_line();
  if (!line) return std::nullopt;
  std::size_t first = line->find_first_not_of(" \t");
  return first == std::string::npos ? std::string() : trim(line->substr(first));
}
