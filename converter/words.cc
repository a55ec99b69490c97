#include "converter/words.h"

namespace {

// The words of the file, with those both programs share.
Brin23Words made(Language language) {
  Brin23Words w = brin23_words_made(language);
  w.language = language;
  w.shared = &shared_words(language);
  return w;
}

}  // namespace

std::string count_text(const CountText& text, std::size_t n) {
  std::string out = n == 1 ? text.one : text.many;
  for (std::size_t at = out.find('#'); at != std::string::npos; at = out.find('#', at)) {
    std::string number = std::to_string(n);
    out.replace(at, 1, number);
    at += number.size();
  }
  return out;
}

std::string numbers_text(const std::string& text, std::initializer_list<std::size_t> numbers,
                         bool zero_is_one) {
  std::string out = text;
  std::size_t at = 0;
  for (std::size_t n : numbers) {
    at = out.find('#', at);
    if (at == std::string::npos) break;
    std::string number = std::to_string(n);
    out.replace(at, 1, number);
    at += number.size();
    // "{one|many}" after it: the form the number takes.
    std::size_t bar = out.find('|', at), close = out.find('}', at);
    if (out.compare(at, 2, " {") != 0 || bar == std::string::npos || close < bar) continue;
    bool one = n == 1 || (zero_is_one && n == 0);
    std::string form = one ? out.substr(at + 2, bar - at - 2) : out.substr(bar + 1, close - bar - 1);
    out.replace(at + 1, close - at, form);
    at += 1 + form.size();
  }
  return out;
}

const Brin23Words& brin23_words(Language language) {
  return in_language(language, made);
}
