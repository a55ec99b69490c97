// Brin23's own words, in one place: its messages, the console's notes and
// the summary of a window of its own, one block per language. The texts
// are Windows-1252; "#" in a count's text stands for the number.
#ifndef MALVET_CONVERTER_WORDS_H
#define MALVET_CONVERTER_WORDS_H

#include <cstddef>
#include <initializer_list>
#include <string>

#include "shared/words.h"

// A text that names a count: the form for one, and for any other number.
struct CountText {
  std::string one, many;
};

// The text for `n`, its "#" replaced by the number.
std::string count_text(const CountText& text, std::size_t n);

// The text with each "#" replaced by the next of `numbers`, in turn.
std::string numbers_text(const std::string& text, std::initializer_list<std::size_t> numbers);

struct Brin23Words {
  const SharedWords* shared = nullptr;  // the words both programs share

  // The folder prompt handed to the installation check.
  std::string msgpltfldr;
  // Error boxes: the message whole, or what follows a file's name.
  std::string no_installation, simulator_running, backup_file, own_temporary_file,
      changed_while_read, too_many_to_keep, no_backup, no_older_backup;
  // The console: what -undo did and passed over, each kept line's mark.
  std::string restored_from, same_as_current, mark_kept, mark_taken;
  // The counts of -keep (also the log's last line) and of what it left out.
  CountText kept, taken;
  // A plain conversion's note: "<before><backup><after>".
  CountText note_before, note_after;
  // -keep with nothing of the file's own: "<hint><backup><holds><undos><then>".
  std::string hint;
  CountText hint_holds, hint_undos, hint_then;
  std::string hint_undos_unknown;
  // The log's line that names the receipt.
  std::string receipt_line;
  // The summary of a window of its own.
  std::string done_written, done_unchanged, done_restored, kept_as, nothing_replaced,
      summary_counts;
  CountText summary_left_out;
};

// Brin23's words in `language`.
const Brin23Words& brin23_words(Language language);

#endif
