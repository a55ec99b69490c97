// Folder listings of any content for the numbered backup name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "converter/backup.h"
#include "fuzz/fuzz_support.h"
#include "shared/text.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return prepare_fuzzing(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, std::min<std::size_t>(end - start, 512)));
    start = end + 1;
  }
  for (const char* given : {"C:\\P\\controls.ini.bak", "notes", "a.b\\c"}) {
    // The name is never cut (its caller checks that it fits): it lies in
    // the given name's folder, with a name part of at most a listed line.
    std::string fnam = given;
    std::string folder = extract_path_name(given).p1;
    name_from_listing(fnam, lines);
    if (fnam.compare(0, folder.size(), folder) != 0) std::abort();
    if (fnam.size() > folder.size() + 512 + 25) std::abort();
  }
  return 0;
}
