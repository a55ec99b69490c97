#include "converter/receipt.h"

#include <algorithm>
#include <array>
#include <utility>
#include <cstdint>
#include <vector>

#include "shared/log.h"
#include "shared/own_text.h"
#include "shared/platform.h"
#include "shared/text.h"

namespace {

// Lines of the spool: a kind, numbers, then texts each as its length, ":"
// and its bytes (a text may hold any byte but a line end).
struct Record {
  char kind = ' ';
  std::array<std::int64_t, 5> numbers{};
  std::array<std::string, 3> texts;
};

// How many records the spool holds in memory before it writes them to its
// file: a real controls.ini's few hundred never reach it.
constexpr std::size_t records_in_memory = 4096;

// The kinds: a section of the source begins, a section's counts, a
// binding of the source, an outcome of the old file's own.
constexpr char section_record = 'S', counts_record = 'C', binding_record = 'B', old_record = 'O';

// The spool's lines are short: a source line and a value of 80 each.
constexpr std::size_t spool_line_capacity = 1024;

// The widths of the lists' columns, the input's and the command's.
constexpr std::size_t input_width = 18;
constexpr std::size_t command_width = 36;

// How many receipts of one name a run tries, with a number after the first.
constexpr int receipt_names = 100;

// How many numbers and texts a record of each kind has.
std::pair<std::size_t, std::size_t> parts_of(char kind) {
  switch (kind) {
    case section_record:
      return {1, 1};
    case counts_record:
      return {5, 1};
    case binding_record:
      return {5, 2};
    case old_record:
      return {4, 3};
    default:
      return {0, 0};
  }
}

std::string encode(const Record& r) {
  auto [numbers, texts] = parts_of(r.kind);
  std::string line(1, r.kind);
  for (std::size_t i = 0; i < numbers; ++i) line += " " + std::to_string(r.numbers[i]);
  line += " ";
  for (std::size_t i = 0; i < texts; ++i) {
    line += std::to_string(r.texts[i].size()) + ":" + r.texts[i];
  }
  return line;
}

std::optional<Record> decode(std::string_view line) {
  if (line.empty()) return std::nullopt;
  Record r;
  r.kind = line[0];
  auto [numbers, texts] = parts_of(r.kind);
  std::size_t at = 1;
  for (std::size_t i = 0; i < numbers; ++i) {
    std::size_t end = line.find(' ', at + 1);
    if (end == std::string_view::npos) return std::nullopt;
    r.numbers[i] = std::stoll(std::string(line.substr(at + 1, end - at - 1)));
    at = end;
  }
  ++at;
  for (std::size_t i = 0; i < texts && at < line.size(); ++i) {
    std::size_t colon = line.find(':', at);
    if (colon == std::string_view::npos) return std::nullopt;
    std::size_t size = std::stoul(std::string(line.substr(at, colon - at)));
    r.texts[i] = std::string(line.substr(colon + 1, size));
    at = colon + 1 + size;
  }
  return r;
}

}  // namespace

// The receipt's lists as they are told: in memory, and past a few thousand
// records in a passing file beside the receipt, so that memory stays flat
// however long the source.
class Spool {
 public:
  explicit Spool(std::string name) : name_(std::move(name)) {}
  ~Spool() { restart(); }

  // Empty, as for a new pass.
  void restart() {
    if (file_.is_open()) file_.close();
    if (in_file_) delete_file(name_);
    in_file_ = false;
    whole_ = true;
    memory_.clear();
  }

  void add(Record record) {
    memory_.push_back(std::move(record));
    if (memory_.size() < records_in_memory) return;
    if (!in_file_) in_file_ = whole_ = file_.open_passing(name_);
    for (const Record& r : memory_) whole_ = file_.write_line(encode(r)) && whole_;
    memory_.clear();
  }

  // Once every record is added: false when some could not be kept.
  bool finish() {
    if (file_.is_open()) whole_ = file_.close() && whole_;
    return whole_;
  }

  // Each record, in the order added (once finished).
  template <typename Each>
  void each(const Each& each) const {
    if (in_file_) {
      LineReader in(name_, spool_line_capacity);
      while (std::optional<std::string> line = in.next()) {
        if (std::optional<Record> r = decode(*line)) each(*r);
      }
    }
    for (const Record& r : memory_) each(r);
  }

 private:
  std::string name_;
  LineWriter file_;
  bool in_file_ = false, whole_ = true;
  std::vector<Record> memory_;
};

namespace {

// Own words in the machine's code page, as the receipt holds them among
// the machine's names.
std::string own(std::string_view words) { return own_in_code_page(words); }

// A column's text padded to its width; a longer one keeps its whole and a
// blank.
std::string column(const std::string& text, std::size_t width) {
  return text.size() < width ? pad(text, width) : text + " ";
}

std::string numbered(const std::string& words, std::size_t n) {
  return numbers_text(words, {n});
}

}  // namespace

void BindingSums::add(Fate fate) {
  switch (fate) {
    case Fate::carried:
      ++carried;
      break;
    case Fate::renamed:
      ++renamed;
      break;
    case Fate::not_carried:
      ++not_carried;
      break;
    case Fate::unreadable:
      ++unreadable;
      break;
    case Fate::header:
      break;
  }
}

std::string first_sum(const ReceiptWords& words, const BindingSums& sums) {
  return numbers_text(words.sum_read, {sums.read(), sums.carried, sums.renamed, sums.not_carried,
                                       sums.unreadable});
}

Receipt::Receipt(const Brin23Words& words, const Names& names) : words_(words), names_(names) {
  std::string stem = log_file_name();
  std::size_t dot = stem.rfind('.');
  if (dot != std::string::npos) stem.erase(dot);
  name_ = stem + words.receipt.file_suffix;
  spool_ = std::make_unique<Spool>(name_ + ".part");
}

Receipt::~Receipt() = default;

void Receipt::files(const RunFiles& files) { files_ = files; }

void Receipt::pass_started() {
  spool_->restart();
  sums_ = BindingSums();
  keyboard_ = KeyboardSection();
  section_ = -1;
  header_.clear();
  section_sums_ = BindingSums();
  old_left_out_ = 0;
}

void Receipt::end_section() {
  const BindingSums& s = section_sums_;
  spool_->add({counts_record,
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
    spool_->add({section_record, {section_}, {header_}});
    return;
  }
  sums_.add(line.fate);
  section_sums_.add(line.fate);
  keyboard_.entry(line.v2);
  spool_->add({binding_record,
               {section_, static_cast<std::int64_t>(line.fate),
                static_cast<std::int64_t>(line.number), line.v2.value_or(-1), line.v3},
               {line.value, std::string(line.text)}});
}

void Receipt::pass_done(const Converted& done) {
  if (section_ >= 0 || section_sums_.read() > 0) end_section();
  done_ = done;
}

void Receipt::old_binding(const OldOutcome& outcome) {
  if (!outcome.kept) ++old_left_out_;
  const OldBinding& b = *outcome.binding;
  spool_->add({old_record,
               {outcome.kept ? 1 : 0, outcome.owner.value_or(-1), outcome.keyboard ? 1 : 0,
                b.number},
               {outcome.section->header, b.value, b.line}});
}

void Receipt::backup_made(const std::string& name) { backup_ = name; }

void Receipt::backup_would_be(const std::string& name) {
  backup_ = name;
  backup_planned_ = true;
}

void Receipt::read_back(std::size_t lines) { read_back_ = lines; }

void Receipt::write_head(LineWriter& out, const std::string& heading) const {
  const ReceiptWords& w = words_.receipt;
  out.write_line(own(heading));
  out.write_line("");
  std::size_t width = 0;
  for (const std::string* label : {&w.source, &w.target, &w.backup, &w.mode, &w.table,
                                   &w.read_back}) {
    width = std::max(width, own(*label).size() + 1);
  }
  auto row = [&](const std::string& label, const std::string& text) {
    out.write_line(pad(own(label), width) + text);
  };
  row(w.source, files_.source);
  row(w.target, files_.target);
  if (backup_.empty()) {
    row(w.backup, own(w.backup_none));
  } else if (backup_planned_) {
    row(w.backup, own(w.backup_check) + backup_);
  } else {
    row(w.backup, backup_ + own(w.backup_undo));
  }
  const std::string& mode = files_.mode == Mode::keep ? w.mode_keep
                            : files_.in_place         ? w.mode_in_place
                                                      : w.mode_plain;
  row(w.mode, own(mode));
  row(w.table, table_);
  if (read_back_) row(w.read_back, own(numbered(w.read_back_lines, *read_back_)));
  for (const std::string& table : names_.unread()) {
    std::string text = own(w.unread_table);
    std::size_t mark = text.find('#');
    if (mark != std::string::npos) text.replace(mark, 1, table);
    out.write_line(text);
  }
  out.write_line("");
  out.write_line(own(first_sum(w, sums_)));
  std::size_t kept = done_.keeping ? done_.kept : 0;
  out.write_line(own(numbers_text(w.sum_written, {done_.bindings, kept, old_left_out_})));
}

void Receipt::write_lists(LineWriter& out) {
  const ReceiptWords& w = words_.receipt;
  const std::optional<std::size_t> keyboard = keyboard_.chosen();
  // The device of a section of the source, as a list's heading names it.
  auto source_device = [&](std::int64_t section, const std::string& header) {
    if (section < 0) return own(w.before_sections);
    if (keyboard && static_cast<std::size_t>(section) == *keyboard) return own(w.keyboard);
    const std::string* joystick = section > 0 ? names_.joystick(header) : nullptr;
    return joystick != nullptr ? *joystick : header;
  };
  auto joystick_of = [&](std::int64_t section, const std::string& header) {
    const std::string* joystick = section > 0 ? names_.joystick(header) : nullptr;
    return joystick != nullptr ? *joystick : std::string();
  };
  auto input = [&](std::int32_t command, const std::string& value, bool in_keyboard,
                   const std::string& joystick) {
    return names_.input(command, value, in_keyboard, joystick, words_.shared->input,
                        w.key_number);
  };
  // Goes over the spool, handing `each` every record: the text of a row,
  // and the device that heads the rows of each device in turn (none for
  // rows that need no heading).
  auto list = [&](const std::string& heading, const auto& each) {
    out.write_line("");
    out.write_line(own(heading));
    bool any = false;
    std::string device, headed;
    spool_->each([&](const Record& r) {
      std::optional<std::string> text = each(r, device);
      if (!text) return;
      if (!device.empty() && (!any || device != headed)) out.write_line("  " + device);
      headed = device;
      out.write_line("    " + *text);
      any = true;
    });
    if (!any) out.write_line("    " + own(w.none));
  };
  // The source's bindings of one fate; `row` the text of each. What each
  // section is, is worked out at its header.
  auto bindings = [&](const std::string& heading, auto wanted, auto row) {
    std::string section_device = own(w.before_sections), joystick;
    bool in_keyboard = false;
    list(heading, [&](const Record& r, std::string& device) -> std::optional<std::string> {
      if (r.kind == section_record) {
        section_device = source_device(r.numbers[0], r.texts[0]);
        joystick = joystick_of(r.numbers[0], r.texts[0]);
        in_keyboard = keyboard && r.numbers[0] == static_cast<std::int64_t>(*keyboard);
        return std::nullopt;
      }
      if (r.kind != binding_record || !wanted(static_cast<Fate>(r.numbers[1]))) {
        return std::nullopt;
      }
      device = section_device;
      std::int32_t v2 = static_cast<std::int32_t>(r.numbers[3]);
      return row(r, column(input(v2, r.texts[0], in_keyboard, joystick), input_width));
    });
  };
  auto v2_name = [&](const Record& r) {
    return names_.command(2, static_cast<std::int32_t>(r.numbers[3]));
  };
  auto v3_name = [&](const Record& r) {
    return names_.command(3, static_cast<std::int32_t>(r.numbers[4]));
  };
  auto line_of = [&](const Record& r) {
    return own(numbered(w.line, static_cast<std::size_t>(r.numbers[2]))) + r.texts[1];
  };
  bindings(w.not_carried, [](Fate f) { return f == Fate::not_carried; },
           [&](const Record& r, const std::string& takes) {
             return takes + column(v2_name(r), command_width) + line_of(r);
           });
  if (sums_.unreadable > 0) {
    bindings(w.unreadable, [](Fate f) { return f == Fate::unreadable; },
             [&](const Record& r, const std::string&) { return line_of(r); });
  }
  list(w.left_out, [&](const Record& r, std::string& device) -> std::optional<std::string> {
    if (r.kind != old_record || r.numbers[0] != 0) return std::nullopt;
    const std::string& old_header = r.texts[0];
    bool in_keyboard = r.numbers[2] != 0;
    const std::string* joystick = names_.joystick(old_header);
    device = in_keyboard ? own(w.keyboard) : joystick != nullptr ? *joystick : old_header;
    std::int32_t command = static_cast<std::int32_t>(r.numbers[3]);
    std::string text = column(input(command, r.texts[1], in_keyboard,
                                     joystick != nullptr ? *joystick : ""),
                              input_width) +
                       column(names_.command(3, command), command_width) + r.texts[2];
    if (r.numbers[1] >= 0) {
      text += own(w.now_taken) + names_.command(3, static_cast<std::int32_t>(r.numbers[1]));
    }
    return text;
  });
  bindings(w.renamed, [](Fate f) { return f == Fate::renamed; },
           [&](const Record& r, const std::string& takes) {
             return takes + v2_name(r) + " -> " + v3_name(r);
           });
  list(w.devices, [&](const Record& r, std::string&) -> std::optional<std::string> {
    if (r.kind != counts_record) return std::nullopt;
    std::int64_t s = r.numbers[0];
    std::string text = source_device(s, r.texts[0]);
    if (s >= 0 && text != r.texts[0]) text += " " + r.texts[0];
    bool plugged = s < 0 || (keyboard && static_cast<std::size_t>(s) == *keyboard) ||
                   !joystick_of(s, r.texts[0]).empty();
    if (!plugged) text += own(w.sep + w.not_plugged);
    std::size_t total = 0;
    for (std::size_t i = 1; i <= 4; ++i) total += static_cast<std::size_t>(r.numbers[i]);
    return text + own(w.sep) +
           own(numbers_text(w.section_counts,
                            {total, static_cast<std::size_t>(r.numbers[1]),
                             static_cast<std::size_t>(r.numbers[2]),
                             static_cast<std::size_t>(r.numbers[3]),
                             static_cast<std::size_t>(r.numbers[4])}));
  });
  bindings(w.carried, [](Fate f) { return f == Fate::carried || f == Fate::renamed; },
           [&](const Record& r, const std::string& takes) {
             std::string to = static_cast<Fate>(r.numbers[1]) == Fate::renamed
                                  ? v3_name(r)
                                  : std::to_string(r.numbers[4]);
             return takes + v2_name(r) + " -> " + to;
           });
}

std::optional<std::string> Receipt::write(const std::string& heading) {
  bool whole = spool_->finish();
  std::string temp = name_ + ".new";
  LineWriter out;
  whole = whole && out.open_passing(temp);
  if (whole) {
    write_head(out, heading);
    write_lists(out);
    whole = out.close();
  }
  spool_->restart();
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
