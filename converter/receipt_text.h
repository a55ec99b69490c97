// The text of Brin23's receipt, from what a run told: the files, two sums
// that balance, then by name what was not carried, what the old file lost,
// what changed its name, each device and all that was carried. Own words
// in the machine's code page among the machine's names, as the reports.
#ifndef MALVET_CONVERTER_RECEIPT_TEXT_H
#define MALVET_CONVERTER_RECEIPT_TEXT_H

#include <cstddef>
#include <optional>
#include <string>

#include "converter/events.h"
#include "converter/names.h"
#include "converter/receipt_spool.h"
#include "converter/words.h"
#include "shared/textfile.h"

// The bindings of the source, counted by what became of them: the first
// sum's terms.
struct BindingSums {
  std::size_t carried = 0, renamed = 0, not_carried = 0, unreadable = 0;
  void add(Fate fate);
  // Every binding line read: always the sum of the four.
  std::size_t read() const { return carried + renamed + not_carried + unreadable; }
};

// "Aerlon 2 bindings read: 48 = 46 carried + 0 under a new name + 2 not
// carried + 0 unreadable", in the words' language (own words).
std::string first_sum(const Brin23Words& words, const BindingSums& sums);

// What the receipt says besides its lists.
struct ReceiptFacts {
  RunFiles files;
  std::string table;
  std::string backup;           // none made when empty
  bool backup_planned = false;  // a check's: the backup a conversion would make
  std::optional<std::size_t> read_back;
  BindingSums sums;
  Converted done;
  std::size_t old_left_out = 0;
  std::optional<std::size_t> keyboard;  // the source's keyboard section
};

// The receipt headed `heading` (own words), its lists from `spool`, each
// command and input named by `names`; with `utf8` (a Windows set to UTF-8,
// whose Notepad reads text so) as UTF-8 with its byte-order mark, as the
// reports are then written.
void write_receipt_text(LineWriter& out, bool utf8, const std::string& heading,
                        const ReceiptFacts& facts, const Spool& spool, const Names& names,
                        const Brin23Words& words);

#endif
