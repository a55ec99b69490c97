// The program's own texts (its messages, the reports' and the page's words):
// single bytes of Windows-1252, the French letters é, è, à... as 0xE9, 0xE8,
// 0xE0, whatever the machine's code page, in which only what comes from the
// machine is (names, paths, files' contents). Own texts are read as
// Windows-1252 where text leaves the system as Unicode (the page, a Windows
// console), and written in the machine's code page where they go into a
// file among the machine's texts (the reports, the log).
#ifndef MALVET_SHARED_OWN_TEXT_H
#define MALVET_SHARED_OWN_TEXT_H

#include <string>
#include <string_view>

// Own text as UTF-16.
std::u16string own_to_utf16(std::string_view own);

// Own text in the machine's code page, each letter it lacks as the nearest
// one it has: "à" as "a" in Central Europe's 1250, "é" as "e" in Cyrillic
// 1251; a sign with no such letter as "?". The same bytes in 1252.
std::string own_in_code_page(std::string_view own);

#endif
