// A controls.ini of any content read into the model, and the model drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "converter/converting.h"
#include "converter/names.h"
#include "converter/receipt.h"
#include "fuzz/fuzz_support.h"
#include "report/analysis.h"
#include "report/card.h"
#include "report/controls_reader.h"
#include "report/page_writer.h"
#include "report/report_writer.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return prepare_fuzzing(); }

namespace {

// The same file converted to version 3, every binding line accounted for
// once: the receipt's first sum balances, its terms as the lines went.
void account_for_every_line(const LineOpener& open) {
  static const CommandMap k_v3 = [] {
    CommandMap map(highest_command + 1, -1);
    map[3001] = 3101;
    map[1000] = 2001;
    map[3002] = 3102;
    return map;
  }();
  struct Counts : Listener {
    BindingSums sums;
    std::size_t lines = 0;
    void source_line(const SourceLine& line) override { sums.add(line.fate); }
    void new_line(const MergedLine& line) override {
      lines += line.in_file() ? 1 : 0;
    }
  };
  std::unique_ptr<LineSource> old_lines = open();
  OldFile old = read_old_file(*old_lines, VersionThreeOnly(k_v3));
  Names names;
  Receipt receipt(brin23_words(Language::english), names);
  for (bool keeping : {false, true}) {
    Counts counts;
    Events out;
    out.add(counts);
    out.add(receipt);
    PassFailure failure;
    std::optional<Converted> done = make_new_file(
        open, {k_v3, old, keeping, [](std::int32_t v2, std::int32_t) { return v2 == 3002; }}, out,
        [] { return true; }, failure);
    if (!done) std::abort();
    std::unique_ptr<LineSource> raw = open();
    std::size_t binding_lines = 0;
    while (std::optional<std::string> line = raw->next()) {
      binding_lines += !is_blank(*line) && (*line)[0] != '[' ? 1 : 0;
    }
    const BindingSums& s = counts.sums;
    if (s.read() != binding_lines || done->read != binding_lines ||
        s.carried + s.renamed != done->bindings || counts.lines != done->lines) {
      std::abort();
    }
  }
  // The receipt says so in its own words.
  std::optional<std::string> written = receipt.write("Receipt");
  if (!written) std::abort();
  LineReader in(*written, 1024);
  const std::string& words = brin23_words(Language::english).receipt.sum_read;
  std::string sum = words.substr(0, words.find('#'));
  std::optional<std::string> line;
  while ((line = in.next()) && line->compare(0, sum.size(), sum) != 0) {
  }
  if (!line) std::abort();
  std::vector<std::size_t> n;
  for (std::size_t at = 0; (at = line->find_first_of("0123456789", at)) != std::string::npos;) {
    std::size_t end = line->find_first_not_of("0123456789", at);
    n.push_back(std::stoul(line->substr(at, end - at)));
    at = end == std::string::npos ? line->size() : end;
  }
  // "Aerlon 2 bindings read: N = a carried + b ... + d unreadable": the
  // version's 2 first.
  if (n.size() != 6 || n[1] != n[2] + n[3] + n[4] + n[5]) std::abort();
  in.close();
  delete_file(*written);
}

}  // namespace

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
  account_for_every_line(open);

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
