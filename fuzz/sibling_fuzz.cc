// A sibling tool's settings file of any content.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "report/sibling.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return prepare_fuzzing(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScanCodeTable keys = {{25, "P"}, {30, "A"}, {200, "Up"}, {2, "1"}};
  write_input("Tool.ini", data, size);
  ReportFiles report;
  if (!report.open_text("Controls.txt") || !report.open_csv("Controls.csv")) std::abort();
  report.set_layout(make_layout(10, false));
  std::vector<bool> q_key(maxkey, false);
  read_tool_ini(false, "Tool.ini", keys, q_key, report);
  report.close();
  if (q_key.size() != maxkey) std::abort();
  return 0;
}
