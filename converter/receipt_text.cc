#include "converter/receipt_text.h"

#include <algorithm>
#include <cstdint>

#include "shared/machine_text.h"
#include "shared/platform.h"
#include "shared/text.h"

namespace {

// The widths of the lists' columns, the input's and the command's.
constexpr std::size_t input_width = 18;
constexpr std::size_t command_width = 36;

// Own words in the machine's code page, as the receipt holds them among
// the machine's names.
std::string own(std::string_view words) { return own_in_code_page(words); }

// A column's text padded to its width; a longer one keeps its whole and a
// blank.
std::string column(const std::string& text, std::size_t width) {
  return text.size() < width ? pad(text, width) : text + " ";
}

std::size_t count(std::int64_t n) { return static_cast<std::size_t>(n); }

std::int32_t command(std::int64_t n) { return static_cast<std::int32_t>(n); }

// The receipt's lines, in the machine's code page or as UTF-8.
class ReceiptOut {
 public:
  ReceiptOut(LineWriter& out, bool utf8) : out_(out), utf8_(utf8) {}
  void write_line(std::string_view line) {
    if (!utf8_) {
      out_.write_line(line);
      return;
    }
    if (first_) out_.write("\xEF\xBB\xBF");
    first_ = false;
    out_.write_line(utf16_to_utf8(ansi_to_utf16(line)));
  }

 private:
  LineWriter& out_;
  bool utf8_;
  bool first_ = true;
};

class ReceiptText {
 public:
  ReceiptText(ReceiptOut& out, const ReceiptFacts& facts, const Spool& spool, const Names& names,
              const Brin23Words& words)
      : out_(out), facts_(facts), spool_(spool), names_(names), words_(words), w_(words.receipt) {}

  void head(const std::string& heading);
  void sums();
  void lists();

 private:
  // Each row a list's `each` gives (nothing for a record it passes), under
  // the heading of its device when that changes; "None" when none.
  void list(const std::string& heading,
            const std::function<std::optional<std::string>(const Record&, std::string& device)>&
                each);
  // The source's bindings whose fate `wanted` takes, each row `row` of its
  // record and its input's column.
  template <typename Wanted, typename Row>
  void bindings(const std::string& heading, const Wanted& wanted, const Row& row);
  void left_out();
  void devices();

  bool is_keyboard(std::int64_t section) const {
    return facts_.keyboard && section == static_cast<std::int64_t>(*facts_.keyboard);
  }
  // The joystick attached whose section it is (never the first), or none.
  std::string joystick_of(std::int64_t section, const std::string& header) const {
    const std::string* joystick = section > 0 ? names_.joystick(header) : nullptr;
    return joystick != nullptr ? *joystick : std::string();
  }
  // A section of the source as a list names it.
  std::string device_of(std::int64_t section, const std::string& header) const {
    if (section < 0) return own(w_.before_sections);
    if (is_keyboard(section)) return own(w_.keyboard);
    std::string joystick = joystick_of(section, header);
    return joystick.empty() ? header : joystick;
  }
  std::string input(std::int32_t command, const std::string& value, bool keyboard,
                    const std::string& joystick) const {
    return column(names_.input(command, value, keyboard, joystick, words_.shared->input,
                               w_.key_number),
                  input_width);
  }
  std::string line_of(const Record& r) const {
    return own(numbers_text(w_.line, {count(r.numbers[2])})) + r.texts[1];
  }

  ReceiptOut& out_;
  const ReceiptFacts& facts_;
  const Spool& spool_;
  const Names& names_;
  const Brin23Words& words_;
  const ReceiptWords& w_;
};

void ReceiptText::head(const std::string& heading) {
  out_.write_line(own(heading));
  out_.write_line("");
  std::size_t width = 0;
  for (const std::string* label :
       {&w_.source, &w_.target, &w_.backup, &w_.mode, &w_.table, &w_.read_back}) {
    width = std::max(width, own(*label).size() + 1);
  }
  auto row = [&](const std::string& label, const std::string& text) {
    out_.write_line(pad(own(label), width) + text);
  };
  row(w_.source, facts_.files.source);
  row(w_.target, facts_.files.target);
  if (facts_.backup.empty()) {
    row(w_.backup, own(w_.backup_none));
  } else if (facts_.backup_planned) {
    row(w_.backup, own(w_.backup_check) + facts_.backup);
  } else {
    row(w_.backup, facts_.backup + own(w_.backup_undo));
  }
  const std::string& mode = facts_.files.mode == Mode::keep ? w_.mode_keep
                            : facts_.files.in_place         ? w_.mode_in_place
                                                            : w_.mode_plain;
  row(w_.mode, own(mode));
  row(w_.table, facts_.table);
  if (facts_.read_back) {
    row(w_.read_back,
        own(numbers_text(w_.read_back_lines, {*facts_.read_back}, words_.zero_is_one)));
  }
  for (const std::string& table : names_.unread()) {
    std::string text = own(w_.unread_table);
    std::size_t mark = text.find('#');
    if (mark != std::string::npos) text.replace(mark, 1, table);
    out_.write_line(text);
  }
}

void ReceiptText::sums() {
  out_.write_line("");
  out_.write_line(own(first_sum(words_, facts_.sums)));
  const Converted& done = facts_.done;
  std::size_t kept = done.keeping ? done.kept : 0;
  out_.write_line(own(numbers_text(w_.sum_written, {done.bindings, kept, facts_.old_left_out},
                                   words_.zero_is_one)));
}

void ReceiptText::list(
    const std::string& heading,
    const std::function<std::optional<std::string>(const Record&, std::string& device)>& each) {
  out_.write_line("");
  out_.write_line(own(heading));
  bool any = false;
  std::string device, headed;
  spool_.each([&](const Record& r) {
    std::optional<std::string> text = each(r, device);
    if (!text) return;
    if (!device.empty() && (!any || device != headed)) {
      out_.write_line("  " + device);
      headed = device;
    }
    out_.write_line("    " + *text);
    any = true;
  });
  if (!any) out_.write_line("    " + own(w_.none));
}

template <typename Wanted, typename Row>
void ReceiptText::bindings(const std::string& heading, const Wanted& wanted, const Row& row) {
  // What each section is, worked out at its header.
  std::string section_device = own(w_.before_sections), joystick;
  bool keyboard = false;
  list(heading, [&](const Record& r, std::string& device) -> std::optional<std::string> {
    if (r.kind == Record::Kind::section) {
      section_device = device_of(r.numbers[0], r.texts[0]);
      joystick = joystick_of(r.numbers[0], r.texts[0]);
      keyboard = is_keyboard(r.numbers[0]);
      return std::nullopt;
    }
    if (r.kind != Record::Kind::binding || !wanted(static_cast<Fate>(r.numbers[1]))) {
      return std::nullopt;
    }
    device = section_device;
    return row(r, input(command(r.numbers[3]), r.texts[0], keyboard, joystick));
  });
}

void ReceiptText::left_out() {
  list(w_.left_out, [&](const Record& r, std::string& device) -> std::optional<std::string> {
    if (r.kind != Record::Kind::old || r.numbers[0] != 0) return std::nullopt;
    const std::string& header = r.texts[0];
    bool keyboard = r.numbers[2] != 0;
    const std::string* joystick = names_.joystick(header);
    device = keyboard ? own(w_.keyboard) : joystick != nullptr ? *joystick : header;
    std::string text = input(command(r.numbers[3]), r.texts[1], keyboard,
                             joystick != nullptr ? *joystick : "") +
                       column(names_.command(3, command(r.numbers[3])), command_width) +
                       r.texts[2];
    if (r.numbers[1] >= 0) text += own(w_.now_taken) + names_.command(3, command(r.numbers[1]));
    if (r.numbers[1] == set_aside_owner) text += own(w_.would_be_keyboard);
    return text;
  });
}

void ReceiptText::devices() {
  list(w_.devices, [&](const Record& r, std::string&) -> std::optional<std::string> {
    if (r.kind != Record::Kind::counts) return std::nullopt;
    std::int64_t section = r.numbers[0];
    const std::string& header = r.texts[0];
    std::string text = device_of(section, header);
    if (section >= 0 && text != header) text += " " + header;
    bool plugged =
        section < 0 || is_keyboard(section) || !joystick_of(section, header).empty();
    if (!plugged) text += own(w_.sep + w_.not_plugged);
    std::size_t total = 0;
    for (std::size_t i = 1; i <= 4; ++i) total += count(r.numbers[i]);
    return text + own(w_.sep) +
           own(numbers_text(w_.section_counts,
                            {total, count(r.numbers[1]), count(r.numbers[2]), count(r.numbers[3]),
                             count(r.numbers[4])},
                            words_.zero_is_one));
  });
}

void ReceiptText::lists() {
  auto v2_name = [&](const Record& r) { return names_.command(2, command(r.numbers[3])); };
  auto v3_name = [&](const Record& r) { return names_.command(3, command(r.numbers[4])); };
  bindings(
      w_.not_carried, [](Fate f) { return f == Fate::not_carried; },
      [&](const Record& r, const std::string& takes) {
        return takes + column(v2_name(r), command_width) + line_of(r);
      });
  if (facts_.sums.unreadable > 0) {
    bindings(
        w_.unreadable, [](Fate f) { return f == Fate::unreadable; },
        [&](const Record& r, const std::string&) { return line_of(r); });
  }
  left_out();
  bindings(
      w_.renamed, [](Fate f) { return f == Fate::renamed; },
      [&](const Record& r, const std::string& takes) {
        return takes + v2_name(r) + " -> " + v3_name(r);
      });
  devices();
  bindings(
      w_.carried, [](Fate f) { return f == Fate::carried || f == Fate::renamed; },
      [&](const Record& r, const std::string& takes) {
        bool renamed = static_cast<Fate>(r.numbers[1]) == Fate::renamed;
        return takes + v2_name(r) + " -> " + (renamed ? v3_name(r) : std::to_string(r.numbers[4]));
      });
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

std::string first_sum(const Brin23Words& words, const BindingSums& sums) {
  return numbers_text(
      words.receipt.sum_read,
      {sums.read(), sums.carried, sums.renamed, sums.not_carried, sums.unreadable},
      words.zero_is_one);
}

void write_receipt_text(LineWriter& out, bool utf8, const std::string& heading,
                        const ReceiptFacts& facts, const Spool& spool, const Names& names,
                        const Brin23Words& words) {
  ReceiptOut lines(out, utf8);
  ReceiptText text(lines, facts, spool, names, words);
  text.head(heading);
  text.sums();
  text.lists();
}
