// A sibling tool's settings file of any content, read and written into the
// reports.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "report/report_writer.h"
#include "report/sibling_reader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return prepare_fuzzing(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScanCodeTable keys = {{25, "P"}, {30, "A"}, {200, "Up"}, {2, "1"}};
  write_input("Tool.ini", data, size);
  std::optional<ToolKeys> taken = read_tool_ini("Palvik", "Tool.ini", keys);
  if (!taken || !taken->whole) std::abort();  // a plain file always reads to its end
  for (const TakenKey& k : taken->keys) {
    if (k.entry < -1 || k.entry >= static_cast<std::int32_t>(keys.size())) std::abort();
    if (k.entry >= 0 && k.code != keys[static_cast<std::size_t>(k.entry)].code) std::abort();
  }
  ReportFiles report;
  if (!report.open_text("Controls.txt") || !report.open_csv("Controls.csv")) std::abort();
  report.set_layout(make_layout(10, ','));
  ReportModel model;
  model.tools.push_back(*taken);
  write_reports(report, model, report_texts(Language::english));
  report.close();
  return 0;
}
