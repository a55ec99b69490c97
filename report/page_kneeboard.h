// The reference card as pages for a kneeboard, in the cockpit or in VR
// through a kneeboard program: portrait pages, for each version one of its
// keyboard's keys bound or taken, one of each joystick's controls bound,
// one of its unbound commands and conflicts; text that reads at a glance,
// nothing to scroll or point at. The page shows them alone inside a
// kneeboard program and prints them on "Kneeboard pages"; else they are not
// shown. The class names are those of report/page_writer.h.
#ifndef MALVET_REPORT_PAGE_KNEEBOARD_H
#define MALVET_REPORT_PAGE_KNEEBOARD_H

#include "report/card.h"
#include "report/html_text.h"
#include "report/texts.h"

void write_kneeboard(PageText& o, const Card& card, const PageWords& w);

#endif
