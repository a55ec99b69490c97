// The page's stylesheet and script, kept as report/page.css and
// report/page.js and built into the program as they stand.
#ifndef MALVET_REPORT_PAGE_RESOURCES_H
#define MALVET_REPORT_PAGE_RESOURCES_H

extern const char* const page_style;
extern const char* const page_script;

#endif
