// The console trace: the lines the programs print for the pilot who watches
// their console window. Its text is in the machine's code page, but for the
// program's own words given as such: on a Windows console it is shown with
// its right letters, written as wide text whatever the console's code page;
// to a file or a pipe, and on POSIX, it goes out as the code page's bytes.
#ifndef MALVET_SHARED_CONSOLE_H
#define MALVET_SHARED_CONSOLE_H

#include <initializer_list>
#include <string_view>

// printf to the console trace.
void console_printf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Whether a step writes its trace on the console: a program that asks the
// same of the machine for other ends than its own trace (Brin23 naming
// inputs as the report does) asks it without.
enum class Trace { no, yes };

// console_printf when `trace` is Trace::yes; nothing otherwise.
void trace_printf(Trace trace, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Text to the console trace, as it is.
void console_write(std::string_view text);

// The program's own words (Windows-1252) to the console trace.
void console_own(std::string_view own);

// A part of a line: the program's own words (Windows-1252), or text of the
// machine's code page.
struct TextPart {
  std::string_view text;
  bool own = false;
};

// The parts to the console trace, each shown in its own code page.
void console_parts(std::initializer_list<TextPart> parts);

#endif
