// Brin23's own words: its messages, the console's notes, the receipt and
// the summary of a window of its own, the brin23 part of each language's
// words file (shared/words.h). The texts are Windows-1252; "#" in a count's
// text stands for the number.
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

// The text with each "#" replaced by the next of `numbers`, in turn; a
// "#" followed by " {one|many}" takes the form its number asks for: one
// for 1, and for 0 too where `zero_is_one` (French: "0 ligne").
std::string numbers_text(const std::string& text, std::initializer_list<std::size_t> numbers,
                         bool zero_is_one = false);

// The receipt's words: its headings, the labels of its first lines, how a
// run goes about the files, its sums and lists ("#" each number in turn),
// and the summary's lines that name it.
struct ReceiptWords {
  std::string file_suffix;  // after the log's name without ".log": "_receipt.txt"
  std::string heading_done, heading_check, heading_would_empty;
  std::string source, target, backup, mode, table, read_back;
  std::string backup_none, backup_undo, backup_check;
  std::string mode_plain, mode_keep, mode_in_place;
  std::string read_back_lines, sum_read, sum_written;
  std::string not_carried, unreadable, left_out, renamed, devices, carried, none;
  std::string keyboard, not_plugged, before_sections, section_counts, line, now_taken,
      would_be_keyboard;
  std::string sep;  // between a device and what is said of it: ": ", " : "
  std::string unread_table, key_number;
  std::string receipt_named, open_it;
  // After a source's name in the box of a conversion that would leave the
  // pilot's file with no binding.
  std::string would_empty;
};

struct Brin23Words {
  Language language = Language::english;
  const SharedWords* shared = nullptr;  // the words both programs share
  // Whether 0 takes a noun's singular form, as 1 does (French).
  bool zero_is_one = false;

  // The folder prompt handed to the installation check.
  std::string msgpltfldr;
  // Error boxes: the message whole, or what follows a file's name.
  std::string no_installation, simulator_running, running_unknown, log_unread_choose, backup_file,
      own_temporary_file,
      changed_while_read, too_many_to_keep, no_backup, no_older_backup;
  // The console: what -undo did and passed over, each kept line's mark.
  std::string restored_from, same_as_current, undo_from_newest, mark_kept, mark_taken,
      mark_set_aside;
  // The counts of -keep (also the log's last line) and of what it left out.
  CountText kept, taken;
  // A plain conversion's note: "<before><backup><after>".
  CountText note_before, note_after;
  // -keep with nothing of the file's own: "<hint><backup><holds><undos><then>".
  std::string hint;
  CountText hint_holds, hint_undos, hint_then;
  std::string hint_undos_unknown;
  // What did not read back as written: the new file (after the target's
  // name), a copy (after its name); the line that differs, "line #:
  // written `<meant>`, read `<read>`"; what became of them.
  std::string new_differs, copy_differs, line_written, line_read, line_end, new_kept_as,
      copy_removed;
  // The log's line that names the receipt, and the receipt's own words.
  std::string receipt_line;
  ReceiptWords receipt;
  // The summary of a window of its own.
  std::string done_written, done_unchanged, done_restored, kept_as, nothing_replaced,
      summary_counts;
  CountText summary_left_out;
};

// Brin23's words in `language`.
const Brin23Words& brin23_words(Language language);

// The words of the brin23 part of `language`'s words file, made anew
// (without the shared ones).
Brin23Words brin23_words_made(Language language);

#endif
