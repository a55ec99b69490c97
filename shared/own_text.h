// The program's own texts (its messages, the reports' and the page's words):
// single bytes of Windows-1252, the French letters é, è, à... as 0xE9, 0xE8,
// 0xE0, whatever the machine's code page, in which only what comes from the
// machine is (names, paths, files' contents). Own texts are read as
// Windows-1252 where text leaves the system as Unicode (the page, a Windows
// console), and written in the machine's code page where they go into a
// file among the machine's texts (the reports, the log).
#ifndef MALVET_SHARED_OWN_TEXT_H
#define MALVET_SHARED_OWN_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A text in runs: the program's own words (Windows-1252), and the machine's
// names and files' texts (its code page); where it leaves as Unicode (the
// page, a message box) each run is read in its own.
struct TextRun {
  std::string text;
  bool own = false;
};
using MixedText = std::vector<TextRun>;

// The runs' bytes one after the other, as a file of the machine's texts
// holds them when it records a message (the dialog transcript).
std::string bytes_of(const MixedText& text);

// The code page of the program's own words.
inline constexpr std::uint32_t own_code_page = 1252;

// A byte of own text as its Unicode character ("?" for the five bytes
// Windows-1252 leaves undefined).
char16_t own_unicode(unsigned char byte);

// Own text as UTF-16.
std::u16string own_to_utf16(std::string_view own);

#endif
