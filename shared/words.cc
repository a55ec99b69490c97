#include "shared/words.h"

#include <cstdint>

#include "shared/platform.h"

namespace {

constexpr std::uint16_t primary_bits = 0x03FF;
constexpr std::uint16_t primary_french = 0x0C;
constexpr std::uint16_t primary_german = 0x07;

}  // namespace

Language ui_language(bool english_forced) {
  if (english_forced) return Language::english;
  std::uint16_t primary = user_ui_language() & primary_bits;
  if (primary == primary_french) return Language::french;
  if (primary == primary_german) return Language::german;
  return Language::english;
}

const SharedWords& shared_words(Language language) {
  return in_language(language, shared_words_made);
}
