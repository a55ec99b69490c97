// The model as the page carries it: a JSON island, as docs/controls-data.md
// describes it, for the tools that reuse what Tavlet read.
#ifndef MALVET_REPORT_PAGE_DATA_H
#define MALVET_REPORT_PAGE_DATA_H

#include <cstdint>
#include <string>

#include "report/bindings.h"
#include "report/html_text.h"
#include "report/texts.h"

// A binding as the page writes it: its text, with the joystick's name after
// a button or an axis: "Button 3 (Stick)".
std::string binding_place(const Binding& binding, const ReportTexts& texts);

// The bindings of the command at `position` of a version, as the page
// writes them, joined by ", ".
std::string bindings_of(const VersionModel& version, std::int32_t position,
                        const ReportTexts& texts);

// The name of a kind of binding in the JSON: "key", "unrecognised key",
// "button", "axis", "not attached", "unbound".
const char* kind_name(BindingKind kind);

// Writes the element <script type="application/json" id="controls-data">
// holding the model (its versions read, the sibling tools whose settings
// were read to their end), and a line end.
void write_page_data(PageText& out, const ReportModel& model, const ReportTexts& texts);

#endif
