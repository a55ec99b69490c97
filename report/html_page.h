// Controls.html: the pilot's reference card. Per version read, the keyboard
// drawn at the keys' places with the commands on them, one card per joystick
// section, the conflicts and the unbound commands; then the differences
// between the versions. One self-contained UTF-8 file, readable without
// scripts (a script adds the search), printable on A4 landscape. The model
// it draws is embedded as JSON (docs/controls-data.md).
#ifndef MALVET_REPORT_HTML_PAGE_H
#define MALVET_REPORT_HTML_PAGE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "report/conflicts.h"
#include "report/controls_model.h"
#include "report/keyboard_layout.h"
#include "report/rows.h"

// One version's part of the page.
struct PageVersion {
  int version = 0;
  std::string ctrfile;            // the controls.ini read
  std::vector<Binding> bindings;  // its rows, in row order
  DeviceTable devices;            // its sections
  std::vector<Conflict> conflicts;
};

// A command of both versions whose last bindings differ.
struct Difference {
  std::string command;
  std::int32_t position2 = 0;  // its position in each version's table
  std::int32_t position3 = 0;
};

struct Page {
  ReportTexts texts;  // the language and the report's texts
  KeyboardKind keyboard = KeyboardKind::ansi;
  // The name the report gives each key of the drawing, by controls.ini value.
  std::vector<std::pair<std::int32_t, std::string>> key_names;
  std::vector<Joystick> joysticks;
  std::vector<PageVersion> versions;
  std::vector<ToolKeys> tools;  // the sibling tools whose settings were read
  bool compared = false;        // both versions read: the differences are shown
  std::vector<Difference> differences;
};

// The page as UTF-8 HTML (the model's Windows-1252 texts converted), its
// lines ended by CR LF.
std::string render_page(const Page& page);

// Writes the page to `path` through a temporary file beside it, which takes
// its place only once complete. When that fails, the older page is removed
// too (a link in its place is removed, never what it points to), so that
// last run's bindings are never read as today's; a folder of that name
// stays. Returns empty when the page was written, else why it was not, for
// the console: "Controls.html.new is a link or a folder; the old page
// removed".
std::string write_page(const std::string& path, const Page& page);

#endif
