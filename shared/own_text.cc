#include "shared/own_text.h"

#include <array>

namespace {

// Windows-1252's characters of the bytes 0x80 to 0x9F; the five it leaves
// undefined as "?".
constexpr std::array<char16_t, 32> windows1252_80 = {
    u'\u20AC', u'?',      u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'?',      u'\u017D', u'?',
    u'?',      u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'?',      u'\u017E', u'\u0178'};

}  // namespace

char16_t own_unicode(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  return windows1252_80[byte - 0x80];
}

std::u16string own_to_utf16(std::string_view own) {
  std::u16string out;
  out.reserve(own.size());
  for (char c : own) out.push_back(own_unicode(static_cast<unsigned char>(c)));
  return out;
}

std::string bytes_of(const MixedText& text) {
  std::string bytes;
  for (const TextRun& run : text) bytes += run.text;
  return bytes;
}
