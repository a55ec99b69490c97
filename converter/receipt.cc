#include "converter/receipt.h"

#include "shared/log.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"

namespace {

// How many receipts of one name a run tries, with a number after the first.
constexpr int receipt_names = 100;

// The receipt's name: the log's without its extension, and the words'.
std::string receipt_name(const Brin23Words& words) {
  std::string stem = log_file_name();
  std::size_t dot = stem.rfind('.');
  if (dot != std::string::npos) stem.erase(dot);
  return stem + words.receipt.file_suffix;
}

}  // namespace

Receipt::Receipt(const Brin23Words& words, const Names& names)
    : words_(words), names_(names), name_(receipt_name(words)), spool_(name_ + ".part") {}

void Receipt::pass_started() {
  spool_.restart();
  RunFiles files = facts_.files;
  std::string table = facts_.table;
  facts_ = ReceiptFacts();
  facts_.files = files;
  facts_.table = table;
  keyboard_ = KeyboardSection();
  section_ = -1;
  header_.clear();
  section_sums_ = BindingSums();
}

void Receipt::end_section() {
  const BindingSums& s = section_sums_;
  spool_.add({Record::Kind::counts,
              {section_, static_cast<std::int64_t>(s.carried),
               static_cast<std::int64_t>(s.renamed), static_cast<std::int64_t>(s.not_carried),
               static_cast<std::int64_t>(s.unreadable)},
              {header_}});
  section_sums_ = BindingSums();
}

void Receipt::source_line(const SourceLine& line) {
  if (line.fate == Fate::header) {
    if (section_ >= 0 || section_sums_.read() > 0) end_section();
    section_ = static_cast<std::int64_t>(keyboard_.begin_section());
    header_ = trim(line.text);
    spool_.add({Record::Kind::section, {section_}, {header_}});
    return;
  }
  facts_.sums.add(line.fate);
  section_sums_.add(line.fate);
  keyboard_.entry(line.v2);
  spool_.add({Record::Kind::binding,
              {section_, static_cast<std::int64_t>(line.fate),
               static_cast<std::int64_t>(line.number), line.v2.value_or(-1), line.v3},
              {line.value, std::string(line.text)}});
}

void Receipt::pass_done(const Converted& done) {
  if (section_ >= 0 || section_sums_.read() > 0) end_section();
  facts_.done = done;
  facts_.keyboard = keyboard_.chosen();
}

void Receipt::old_binding(const OldOutcome& outcome) {
  if (!outcome.kept) ++facts_.old_left_out;
  const OldBinding& b = *outcome.binding;
  spool_.add({Record::Kind::old,
              {outcome.kept ? 1 : 0, outcome.set_aside ? set_aside_owner : outcome.owner.value_or(-1),
               outcome.keyboard ? 1 : 0, b.number},
              {outcome.section->header, b.value, b.line}});
}

void Receipt::backup_would_be(const std::string& name) {
  facts_.backup = name;
  facts_.backup_planned = true;
}

std::optional<std::string> Receipt::write(const std::string& heading) {
  bool whole = spool_.finish();
  std::string temp = name_ + ".new";
  LineWriter out;
  whole = whole && out.open_passing(temp);
  if (whole) {
    write_receipt_text(out, system_code_page_is_utf8(Trace::no), heading, facts_, spool_, names_,
                       words_);
    whole = out.close();
  }
  spool_.restart();
  // A new name each run: never over an earlier receipt.
  std::string stem = name_.substr(0, name_.rfind('.'));
  std::string extension = name_.substr(stem.size());
  for (int n = 1; whole && n <= receipt_names; ++n) {
    std::string name = n == 1 ? name_ : stem + "_" + std::to_string(n) + extension;
    if (rename_to_new_name(temp, name)) return name;
  }
  delete_file(temp);
  return std::nullopt;
}
