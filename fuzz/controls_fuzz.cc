// A controls.ini of any content read into the model, and the model drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "report/analysis.h"
#include "report/card.h"
#include "report/controls_reader.h"
#include "report/page_writer.h"
#include "report/report_writer.h"
#include "shared/text.h"
#include "shared/textfile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return prepare_fuzzing(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const CommandTable commands = {
      {1000, "Roll"}, {1001, "Pitch"}, {3001, "Pause"}, {3002, "Brake"}, {3003, "View"}};
  static const ScanCodeTable keys = {{25, "P"}, {30, "A"}, {57, "Space"}, {200, "Up"}};
  static const std::vector<Joystick> joysticks = {
      {"Stick", "[{9F6A1A40-D1E6-11E9-8001-444553540000}]", 4, 8},
      {std::string(sidewinder_ff2), "[S]", 9, 512}};
  static const Layout layout = make_layout(5, ',');
  static const ReportTexts texts = report_texts(Language::french);

  write_input("controls.ini", data, size);
  LineOpener open = [] { return std::make_unique<LineReader>("controls.ini", line_capacity); };
  VersionModel v;
  v.version = 3;
  v.ctrfile = "controls.ini";
  if (!read_controls_file(open, commands, {keys, joysticks, true}, v)) {
    std::abort();  // a plain file always reads to its end
  }
  add_unbound_commands(commands, texts, v.bindings);

  const DeviceTable& dev = v.devices;
  if (dev.ndev() > static_cast<std::int32_t>(maxdev)) std::abort();
  const std::vector<Binding>& bindings = v.bindings;
  if (bindings.size() > maxcmd || v.k_cmd.size() != maxcmd) std::abort();
  for (std::size_t n = 0; n < bindings.size(); ++n) {
    if (n > 0 && bindings[n].position < bindings[n - 1].position) std::abort();
  }
  VersionRows rows = render_rows(bindings, layout, texts);
  if (rows.size() != bindings.size() || rows.line_csv.size() != rows.size()) std::abort();
  for (std::size_t n = 0; n < rows.size(); ++n) {
    if (rows.line_out[n].size() > row_capacity || rows.line_csv[n].size() > row_capacity) {
      std::abort();
    }
  }
  // The page and its conflicts draw any of it.
  ReportModel model;
  model.keys = keys;
  model.joysticks = joysticks;
  v.conflicts = find_conflicts(bindings, {}, texts);
  model.versions.push_back(v);
  model.free_controls = free_controls(joysticks, model.versions);
  std::string html = render_page(build_card(model, texts), model, texts);
  if (html.find("data-version=\"3\"") == std::string::npos) std::abort();
  // Whatever the file holds, the page is well-formed UTF-8 and its JSON
  // island holds no "<" that could end it.
  if (!is_utf8(html)) std::abort();
  const std::string island = "<script type=\"application/json\" id=\"controls-data\">";
  std::size_t start = html.find(island);
  if (start == std::string::npos) std::abort();
  start += island.size();
  if (html.find('<', start) != html.find("</script>", start)) std::abort();
  return 0;
}
