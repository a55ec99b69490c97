// Controls.html: the pilot's reference card. Per version read, the keyboard
// drawn at the keys' places with the commands on them, one card per joystick
// section, the conflicts and the unbound commands; then the differences
// between the versions. One self-contained UTF-8 file, readable without
// scripts (a script adds the search), on a desktop, a tablet or a phone, at
// night, and printed in landscape on any paper, each version on a page of
// its own where it fits. The model it draws is embedded as JSON
// (report/page_data.h).
//
// The class names that the markup shares with report/page.css,
// report/page.js and the browser test:
//   page-top       the page's heading and the search field
//   screen-only    what is not printed (the search field)
//   version        a version's part (it carries data-version)
//   file-name      the controls.ini a version was read from
//   legend, legend-item, swatch  the colours' legend, its items, their samples
//   keyboard       a drawing (its size in --keyboard-w and --keyboard-h)
//   keyboard-title a drawing's heading, the keyboard's kind
//   keyboard-frame what holds a drawing, scrolling sideways when it can't fit
//   scroll-hint    the words that say so, shown by the script
//   phone-only     what only a phone shows: key-lines, the line of each key
//                  bound or taken (id v<version>-key-<code>), key-line-name
//                  its key's name
//   key            a key (data-key; its place in --x --y --w --h, its text's
//                  size in --s; a title when it shows only a part of what it
//                  holds), with the state bound, taken (by a sibling tool),
//                  free, or unknown (a tool's file could not be read)
//   notice         what the reports say first (a simulator running, a file
//                  that could not be read)
//   left-out       a version the run left out, and why
//   enter-top      the wider top of the ISO keyboard's tall Enter
//   key-name       a key's name (narrowed by --squeeze when too wide, on a
//                  phone by --ps); has-short when the map of a phone shows
//                  key-short in its place, its short form (narrowed by --ps;
//                  always shown for a key the layout gives no name)
//   command        a command's name, wherever it is bound
//   tool-name      a sibling tool's name on a key it takes
//   beyond, more   what a key does not show, and its mark "+N"
//   details        a version's part below its drawing, in columns in print
//   part-shown     the list of keys that show only a part of what they hold
//   free-keys      the free keys as ranges (data-free, data-keys their names)
//   off-drawing    the list of keys bound that the drawing has no place for
//   cards, card    the joystick cards; unattached for a device not attached
//   section-header a card's section header
//   control        an axis or a button of a card (data-axis, data-button),
//                  bound or free
//   control-name   an axis's or button's name; free-word the word "free"
//   free-ranges    a card's free axes or buttons as ranges, in print
//   list, row      a table of conflicts or differences, and any listed row
//   taken-by       the sibling tools that take a key in conflict
//   unbound-list   the unbound commands
//   differences    the differences' part
//   search         the search field (id search), the key to press (id
//                  press-key), the count (id found) and what Enter reached
//                  (id reached, visually-hidden)
//   searching, hit set by the search on the body and on what it finds;
//   current        the place found that Enter reached
#ifndef MALVET_REPORT_PAGE_WRITER_H
#define MALVET_REPORT_PAGE_WRITER_H

#include <string>

#include "report/bindings.h"
#include "report/card.h"
#include "report/texts.h"

// The page of `card` (build_card of `model`, whose data the page carries
// too) as UTF-8 HTML (the model's texts converted from the machine's code
// page), its lines ended by CR LF.
std::string render_page(const Card& card, const ReportModel& model, const ReportTexts& texts);

// Writes the page to `path` through a temporary file beside it, which takes
// its place only once complete. When that fails, the older page is removed
// too (a link in its place is removed, never what it points to), so that
// last run's bindings are never read as today's; a folder of that name
// stays. Returns empty when the page was written, else why it was not, for
// the console: "Controls.html.new is a link or a folder; the old page
// removed".
std::string write_page(const std::string& path, const Card& card, const ReportModel& model,
                       const ReportTexts& texts);

#endif
