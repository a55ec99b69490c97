// The model as the page carries it: a JSON island, as docs/controls-data.md
// describes it, for the tools that reuse what Tavlet read.
#ifndef MALVET_REPORT_PAGE_DATA_H
#define MALVET_REPORT_PAGE_DATA_H

#include <cstdint>
#include <string>

#include "report/bindings.h"
#include "report/card.h"
#include "report/html_text.h"
#include "report/texts.h"

// The name of a kind of binding in the JSON: "key", "unrecognised key",
// "button", "axis", "not attached", "unbound".
const char* kind_name(BindingKind kind);

// Writes the element <script type="application/json" id="controls-data">
// holding the model (its versions read, the sibling tools whose settings
// were read to their end), and a line end.
// The differences are the card's.
void write_page_data(PageText& out, const ReportModel& model, const Card& card,
                     const ReportTexts& texts);

#endif
