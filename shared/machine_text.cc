#include "shared/machine_text.h"

#include <algorithm>

#include "shared/platform.h"

namespace {

// The letter without its accent, for the Latin letters of Windows-1252;
// nothing for any other character.
std::string_view plain_letter(char16_t u) {
  // À..ÿ in order, each as its plain form ("" for a sign).
  static constexpr std::string_view latin1[] = {
      "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
      "D", "N", "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U", "Y", "",  "ss",
      "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
      "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "",  "y"};
  if (u >= 0xC0 && u <= 0xFF) return latin1[u - 0xC0];
  switch (u) {
    case u'\u0152':
      return "OE";
    case u'\u0153':
      return "oe";
    case u'\u0160':
      return "S";
    case u'\u0161':
      return "s";
    case u'\u017D':
      return "Z";
    case u'\u017E':
      return "z";
    case u'\u0178':
      return "Y";
    default:
      return "";
  }
}

}  // namespace

std::string own_in_code_page(std::string_view own) {
  // Most words are ASCII, and most of the others the code page holds whole:
  // converted at once.
  if (std::all_of(own.begin(), own.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(own);
  }
  bool all_held = true;
  std::string at_once = utf16_to_ansi(own_to_utf16(own), &all_held);
  if (all_held) return at_once;
  std::string out;
  out.reserve(own.size());
  for (char c : own) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
      continue;
    }
    char16_t u = own_unicode(byte);
    bool whole = true;
    std::string held = utf16_to_ansi(std::u16string(1, u), &whole);
    if (whole) {
      out += held;
    } else if (std::string_view plain = plain_letter(u); !plain.empty()) {
      out += plain;
    } else {
      out.push_back('?');
    }
  }
  return out;
}

std::u16string utf16_of(const MixedText& text) {
  std::u16string units;
  for (const TextRun& run : text)
    units += run.own ? own_to_utf16(run.text) : ansi_to_utf16(run.text);
  return units;
}
