// A controls.ini of any content read into the assignment model.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "report/controls_model.h"
#include "shared/textfile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return prepare_fuzzing(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const CommandTable commands = {
      {1000, "Roll"}, {1001, "Pitch"}, {3001, "Pause"}, {3002, "Brake"}, {3003, "View"}};
  static const ScanCodeTable keys = {{25, "P"}, {30, "A"}, {57, "Space"}, {200, "Up"}};
  static const std::vector<Joystick> joysticks = {
      {"Stick", "[{9F6A1A40-D1E6-11E9-8001-444553540000}]", 4, 8},
      {std::string(sidewinder_ff2), "[S]", 9, 512}};
  static const Layout layout = make_layout(5, false);
  static const ReportTexts texts = report_texts(true);
  ReportContext ctx{keys, joysticks, layout, texts};

  write_input("controls.ini", data, size);
  LineReader in("controls.ini", line_capacity);
  AssignmentModel model;
  DeviceTable dev = read_controls_file(in, 3, commands, ctx, model);
  finish_rows(commands, ctx, model);

  if (dev.ndev < 0 || dev.ndev > static_cast<std::int32_t>(maxdev)) std::abort();
  const VersionRows& rows = model.rows;
  if (rows.size() > maxcmd || rows.line_csv.size() != rows.size() ||
      rows.ind_out.size() != rows.size() || rows.ind_csv != rows.ind_out) {
    std::abort();
  }
  for (std::size_t n = 0; n < rows.size(); ++n) {
    if (rows.line_out[n].size() > row_capacity || rows.line_csv[n].size() > row_capacity) {
      std::abort();
    }
    if (n > 0 && rows.ind_out[n] < rows.ind_out[n - 1]) std::abort();
  }
  return 0;
}
