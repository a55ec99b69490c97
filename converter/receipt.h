// Brin23's receipt: what a conversion did with every binding, by name, in a
// text file beside the log (a new one for each run, never over another),
// in the pilot's language and the machine's code page. A listener of the
// run's events: it counts what it is told and keeps each line's account
// in its spool until the receipt is written (receipt_text.h says what it
// holds).
#ifndef MALVET_CONVERTER_RECEIPT_H
#define MALVET_CONVERTER_RECEIPT_H

#include <cstddef>
#include <optional>
#include <string>

#include "converter/events.h"
#include "converter/names.h"
#include "converter/receipt_spool.h"
#include "converter/receipt_text.h"
#include "converter/words.h"

class Receipt : public Listener {
 public:
  // A receipt named after the run's log, in the working folder; `names`
  // name its commands and inputs when it is written.
  Receipt(const Brin23Words& words, const Names& names);

  void files(const RunFiles& files) override { facts_.files = files; }
  void table(const std::string& path) override { facts_.table = path; }
  void pass_started() override;
  void source_line(const SourceLine& line) override;
  void pass_done(const Converted& done) override;
  void old_binding(const OldOutcome& outcome) override;
  void backup_made(const std::string& name) override { facts_.backup = name; }
  void backup_would_be(const std::string& name) override;
  void read_back(std::size_t lines) override { facts_.read_back = lines; }

  // Writes the receipt headed `heading` (own words): its name in the
  // working folder, nothing when it could not be written whole.
  std::optional<std::string> write(const std::string& heading);

  // Where a check writes the new file it reads back: beside the receipt.
  std::string check_file() const { return name_ + ".ini"; }

 private:
  // The section the lines are in ends: its counts.
  void end_section();

  const Brin23Words& words_;
  const Names& names_;
  std::string name_;
  Spool spool_;
  ReceiptFacts facts_;
  // The source's sections: the keyboard's, and the one the lines are in
  // with its header and counts (-1 before the first).
  KeyboardSection keyboard_;
  std::int64_t section_ = -1;
  std::string header_;
  BindingSums section_sums_;
};

#endif
