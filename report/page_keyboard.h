// A version's keyboard on the reference card: its heading, the drawing of
// its keys in the frame that scrolls when it can't fit the screen, the words
// that say so, and the line of each key bound or taken, which a phone shows
// below the drawing it then draws as a map. The class names are those of
// report/page_writer.h.
#ifndef MALVET_REPORT_PAGE_KEYBOARD_H
#define MALVET_REPORT_PAGE_KEYBOARD_H

#include "report/card.h"
#include "report/html_text.h"
#include "report/texts.h"

void write_keyboard(PageText& o, const VersionCard& v, KeyboardKind kind, const PageWords& w);

#endif
