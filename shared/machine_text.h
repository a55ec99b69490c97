// The program's own words (shared/own_text.h) where they meet the
// machine's: written in its code page among its texts, or read as wide
// text beside its names.
#ifndef MALVET_SHARED_MACHINE_TEXT_H
#define MALVET_SHARED_MACHINE_TEXT_H

#include <string>
#include <string_view>

#include "shared/own_text.h"

// Own text in the machine's code page, each letter it lacks as the nearest
// one it has: "à" as "a" in Central Europe's 1250, "é" as "e" in Cyrillic
// 1251; a sign with no such letter as "?". The same bytes in 1252.
std::string own_in_code_page(std::string_view own);

// The runs as UTF-16, each read in its own code page.
std::u16string utf16_of(const MixedText& text);

#endif
