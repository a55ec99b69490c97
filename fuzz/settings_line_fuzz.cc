// The settings-line procedures on any text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shared/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);

  KeyVal kv = extract_key_val(line);
  if (kv.key.size() > line.size() || kv.val.size() > line.size()) std::abort();
  KeyRelVal rel = extract_key_val_rel(line);
  if (rel.rel.size() > 2) std::abort();
  read_whole_number(line);
  read_whole_number(kv.key);

  std::string list = line;
  std::vector<std::string> items = read_list(list, size > 0 ? line[0] : ',', 32);
  for (const std::string& item : items) {
    if (item.empty() || item.size() > 32) std::abort();
  }
  list = line;
  while (!list.empty()) {
    std::size_t before = list.size();
    extract_comma(list);
    if (list.size() >= before) std::abort();  // every call takes something off
  }

  case_blind_compare(line, kv.key);
  PathName pn = extract_path_name(line);
  if (!pn.p1.empty() && pn.p1.back() != '\\') std::abort();
  extract_name(line);
  return 0;
}
