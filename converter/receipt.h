// Brin23's receipt: what a conversion did with every binding, by name, in a
// text file beside the log (a new one for each run, never over another),
// in the pilot's language and the machine's code page. It opens with the
// files, then two sums that balance (the bindings read, and what the new
// file holds and the old one lost), then lists what was not carried, what
// the old file lost, what changed its name, each device, and all that was
// carried. Nothing of the source is held meanwhile: the lists wait in a
// passing file beside it until the receipt is written.
#ifndef MALVET_CONVERTER_RECEIPT_H
#define MALVET_CONVERTER_RECEIPT_H

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "converter/events.h"
#include "converter/names.h"
#include "converter/words.h"
#include "shared/textfile.h"

// The bindings of the source, counted as they go by by what became of
// them: the first sum's terms.
struct BindingSums {
  std::size_t carried = 0, renamed = 0, not_carried = 0, unreadable = 0;
  void add(Fate fate);
  // Every binding line read: always the sum of the four.
  std::size_t read() const { return carried + renamed + not_carried + unreadable; }
};

// "Aerlon 2 bindings read: 48 = 46 carried + 0 under a new name + 2 not
// carried + 0 unreadable", in the words' language (own words).
std::string first_sum(const ReceiptWords& words, const BindingSums& sums);

class Spool;

class Receipt : public Listener {
 public:
  // A receipt named after the run's log, in the working folder; `names`
  // name its commands and inputs when it is written.
  Receipt(const Brin23Words& words, const Names& names);
  ~Receipt() override;
  Receipt(const Receipt&) = delete;
  Receipt& operator=(const Receipt&) = delete;

  void files(const RunFiles& files) override;
  void table(const std::string& path) override { table_ = path; }
  void pass_started() override;
  void source_line(const SourceLine& line) override;
  void pass_done(const Converted& done) override;
  void old_binding(const OldOutcome& outcome) override;
  void backup_made(const std::string& name) override;
  void backup_would_be(const std::string& name) override;
  void read_back(std::size_t lines) override;

  // Writes the receipt headed `heading` (own words): its name in the
  // working folder, nothing when it could not be written whole.
  std::optional<std::string> write(const std::string& heading);

  // Where a check writes the new file it reads back: beside the receipt.
  std::string check_file() const { return name_ + ".ini"; }

 private:
  void end_section();
  void write_head(LineWriter& out, const std::string& heading) const;
  void write_lists(LineWriter& out);

  const Brin23Words& words_;
  const Names& names_;
  std::string name_;
  std::unique_ptr<Spool> spool_;  // the lists, as they are told
  RunFiles files_;
  std::string table_, backup_;
  bool backup_planned_ = false;  // a check: the backup a conversion would make
  std::optional<std::size_t> read_back_;
  BindingSums sums_;
  Converted done_;
  std::size_t old_left_out_ = 0;
  // The source's sections: the keyboard's, and the one the lines are in
  // with its header and counts (-1 before the first).
  KeyboardSection keyboard_;
  std::int64_t section_ = -1;
  std::string header_;
  BindingSums section_sums_;
};

#endif
