// The language of a run, decided once at its start, and the words that both
// programs share, one block per language. The texts are Windows-1252, as
// the programs' own words are; a message's "/" starts a new line.
#ifndef MALVET_SHARED_WORDS_H
#define MALVET_SHARED_WORDS_H

#include <string>

enum class Language { english, french, german };

// The language of the user interface (GetUserDefaultUILanguage): French or
// German by its primary language, else English; English whatever it is
// when `english_forced` (Tavlet's "-EN").
Language ui_language(bool english_forced = false);

// Of one table's blocks, the one in `language`, made by its function the
// first time it is asked for: the one place that a new language adds its
// block to.
template <typename Words>
const Words& in_language(Language language, Words (*en)(), Words (*fr)(), Words (*de)()) {
  switch (language) {
    case Language::french: {
      static const Words french = fr();
      return french;
    }
    case Language::german: {
      static const Words german = de();
      return german;
    }
    case Language::english:
      break;
  }
  static const Words english = en();
  return english;
}

// How both programs name what a binding takes: an axis ("#" its name: "#
// Axis", "Axe #"), a button ("Button"), a key the table lacks, and the
// SideWinder Force Feedback 2's slider and hat switch.
struct InputWords {
  std::string axis_pattern, txtbut, nokey, curseur, hat;
};

struct SharedWords {
  Language language = Language::english;
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

#endif
