// Draws Controls.html in the working folder as Tavlet does, from the same
// installation, but with a sibling tool's settings file read short: its
// first keys read, then a read error. A read error after the first lines
// of a file can't be staged on Linux, so the browser's checks of such a
// card take it from here.
//
//   card_fixture TOOL KEYS     (TOOL "Palvik" or "Serunt", KEYS the keys read)
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "report/card.h"
#include "report/page_writer.h"
#include "report/run_steps.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: card_fixture TOOL KEYS\n");
    return 2;
  }
  const std::string tool = argv[1];
  const std::size_t keys = static_cast<std::size_t>(std::atoi(argv[2]));
  char* no_arguments[] = {argv[0], nullptr};
  std::optional<Start> start = start_report(1, no_arguments);
  if (!start) return 1;
  ReportModel model = new_model(*start);
  std::optional<Tables> tables = read_tables(*start, model);
  if (!tables || read_versions(*start, *tables, model)) return 1;
  read_sibling_tools(start->texts, model);
  for (ToolKeys& t : model.tools) {
    if (t.tool != tool) continue;
    if (t.keys.size() > keys) t.keys.resize(keys);
    t.whole = false;
  }
  analyse(*tables, *start, model);
  std::string not_written =
      write_page("Controls.html", build_card(model, start->texts), model, start->texts);
  if (!not_written.empty()) std::fprintf(stderr, "%s\n", not_written.c_str());
  return not_written.empty() ? 0 : 1;
}
