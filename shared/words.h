// The language of a run, decided once at its start, and the words that both
// programs share. Each language's words are a text file of its own
// (shared/words/french.txt...), made into code by scripts/words.py: the
// texts are Windows-1252 here, as the programs' own words are; a
// message's "/" starts a new line.
#ifndef MALVET_SHARED_WORDS_H
#define MALVET_SHARED_WORDS_H

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The languages: each has its words file (shared/words/german.txt), named
// as here, and its line in ui_language.
enum class Language { english, french, german };
inline constexpr std::size_t language_count = 3;

// The language of the user interface (GetUserDefaultUILanguage): French or
// German by its primary language, else English; English whatever it is
// when `english_forced` (Tavlet's "-EN").
Language ui_language(bool english_forced = false);

// A table of words in `language`, made by `made` the first time it is
// asked for, then kept for the run.
template <typename Words>
const Words& in_language(Language language, Words (*made)(Language)) {
  static std::array<std::optional<Words>, language_count> kept;
  std::optional<Words>& words = kept[static_cast<std::size_t>(language)];
  if (!words) words = made(language);
  return *words;
}

// How the code made from a words file sets a word: a text as it is, a sign
// as its one character, a yes or no as true or false.
inline void set_word(std::string& word, const char* text) { word = text; }
inline void set_word(char& sign, const char* text) { sign = text[0]; }
inline void set_word(bool& yes, const char* text) { yes = std::string_view(text) == "yes"; }

// How both programs name what a binding takes: an axis ("#" its name: "#
// Axis", "Axe #"), a button ("Button"), a key the table lacks, and the
// SideWinder Force Feedback 2's slider and hat switch.
struct InputWords {
  std::string axis_pattern, txtbut, nokey, curseur, hat;
};

struct SharedWords {
  // After a file's name in a box: "/not found", "/Error opening".
  std::string not_found, error_opening;
  // Before an output file's name: "Output file : ".
  std::string output_file;
  // The line that says why Windows refused a file: another program holds
  // it, it is read-only, access was denied to a file that is not.
  std::string refusal_held, refusal_read_only, refusal_access_denied, refusal_undelivered;
  // A stopping box's last line when a name lost letters to the code page.
  std::string lost_letters;
  // The box after a file dialog that was cancelled.
  std::string no_file_chosen;
  // The last line of a window of its own.
  std::string press_enter;
  InputWords input;
};

// The words in `language`.
const SharedWords& shared_words(Language language);

// The words of the shared part of `language`'s words file, made anew.
SharedWords shared_words_made(Language language);

#endif
