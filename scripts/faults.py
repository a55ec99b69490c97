#!/usr/bin/python3
"""Puts faults back into the code, one at a time, and runs the tests against
each: a fault that no test catches shows a case the tests lack. Each fault
is a small change of the kind a slip makes (an operator flipped, a
condition dropped, a step skipped). The work goes on in a worktree of the
current commit beside the checkout, never in it.

    scripts/faults.py [MODULE ...]     (every module when none is named)

Prints each fault, caught, missed or stillborn (it does not build), and the
count of each module."""

import os
import subprocess
import sys
import tempfile

# module, file, text, the fault put in its place, and whether the browser
# check (the page's own) runs for it.
FAULTS = [
    # Brin23's -undo walking back through its record and the backups.
    ("undo", "converter/history.cc", "[&](const BackupState& b) { return b.digest == *current; });",
     "[&](const BackupState& b) { return b.digest != *current; });"),
    ("undo", "converter/history.cc", "      place = converted ? i + 1 : i;", "      place = i;"),
    ("undo", "converter/history.cc", "if (e.kind == HistoryEntry::Kind::undo) undone.insert(e.undone);",
     "if (e.kind == HistoryEntry::Kind::convert) undone.insert(e.undone);"),
    ("undo", "converter/history.cc", "if (!record || record->empty() || record->back().result != current) return",
     "if (!record || record->empty()) return"),
    ("undo", "converter/history.cc", "while (at > 0 && backups[at - 1].digest != *current) --at;",
     "while (at > 0 && backups[at - 1].digest == *current) --at;"),
    ("undo", "converter/history.cc", "      plan.passed_over.push_back(i);\n", ""),
    ("undo", "converter/history.cc", "} else if (undone.count(backups[i].digest) == 0) {", "} else {"),
    ("undo", "converter/history.cc", "if (!check || *check != (mixed(fnv_offset, line.data(), last) & 0xFFFFFFFF))",
     "if (!check)"),
    ("undo", "converter/history.cc", "  if (entries && entries->size() < history_entries) {", "  if (entries) {"),
    ("undo", "converter/history.cc", "if (current == wanted) return undos;",
     "if (current != wanted) return undos;"),
    ("undo", "converter/backup.cc", "std::int32_t next = taken.empty() ? 0 : taken.back() + 1;",
     "std::int32_t next = taken.empty() ? 0 : taken.front() + 1;"),
    ("undo", "converter/undo.cc", "    if (same_file(b.name, target)) continue;\n", ""),
    ("undo", "converter/undo.cc", "  if (file_exists(partial) && !is_link(partial)) delete_file(partial);\n", ""),
    ("undo", "converter/undo.cc", "    if (!walk.current) return unreadable(ctrfile_3);\n", ""),
    ("undo", "converter/undo.cc", "if (!plan.from_record && walk->record_kept && walk->current)",
     "if (!plan.from_record && walk->current)"),
    ("undo", "converter/undo.cc", "if (plan.back_up_current) backup = run.back_up(ctrfile_3, events);",
     "backup = run.back_up(ctrfile_3, events);"),
    ("undo", "converter/undo.cc", "  add_to_history(history_name(ctrfile_3), entry);\n", ""),
    # -keep: what a binding takes, over every section of its header.
    ("keep", "shared/controls_grammar.cc", "if (keyboard) return Input{Input::Kind::key, *n};",
     "if (keyboard && command < first_key_command) return Input{Input::Kind::key, *n};"),
    ("keep", "shared/controls_grammar.cc", "return Input{Input::Kind::axis, axis_index(*n)};",
     "return Input{Input::Kind::axis, *n};"),
    ("keep", "converter/keep.cc", "if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');",
     "if (c >= 'a' && c <= 'y') c = static_cast<char>(c - 'a' + 'A');"),
    ("keep", "converter/keep.cc", "bool keyboard = keyboard_.chosen() && key == best_key_;",
     "bool keyboard = false;"),
    ("keep", "converter/keep.cc", "      looking_->in_new_file = true;\n", ""),
    ("keep", "shared/controls_grammar.cc", "  if (++count_ <= most_) return false;", "  if (++count_ < most_) return false;"),
    ("keep", "converter/converting.cc", "    if (two_passes && !(first == second)) continue;", ""),
    ("keep", "converter/convert_run.cc",
     "if (same_file(plan.source.name, ReplacingWriter::temporary_name(ctrfile_3))) {",
     "if (false) {"),
    ("keep", "converter/convert_run.cc", "if (plan.keeping && converted.kept == 0 && plan.old.own_bindings() == 0) {",
     "if (plan.keeping && converted.kept == 0) {"),
    # A section's name as Windows reads it; what -keep keeps never the keyboard.
    ("sections", "shared/controls_grammar.cc", "  header = header.substr(0, header.find(']'));\n", ""),
    ("sections", "shared/controls_grammar.cc", "std::size_t first = header.find_first_not_of(\" \\t\");",
     "std::size_t first = header.find_first_not_of(\" \");"),
    ("sections", "shared/controls_grammar.cc", "return na.size() == nb.size() && case_blind_compare(na, nb);",
     "return na == nb;"),
    ("sections", "converter/keep.cc", "group.set_aside = n > most || (n == most && *group.first_section < *keyboard);",
     "group.set_aside = n > most;"),
    ("sections", "converter/keep.cc", "if (group.first_section == keyboard) most += kept_keys(group);",
     "if (group.first_section == keyboard) most += 0 * kept_keys(group);"),
    ("sections", "converter/keep.cc", "group.set_aside = group.set_aside || n > most;", "group.set_aside = n > most;"),
    ("sections", "converter/keep.cc", "    if (group.set_aside) continue;\n", ""),
    # The simulator running.
    ("running", "shared/install.cc", "    if (same_file(candidate, folder)) return version;\n", ""),
    ("running", "shared/install.cc", "if (!opened && candidate.size() == folder.size() && case_blind_compare(candidate, folder)) {",
     "if (!opened && candidate == folder) {"),
    ("running", "converter/brin23_run.cc", "  if (!simulators) return &w.running_unknown;\n",
     "  if (!simulators) return nullptr;\n"),
    ("running", "converter/brin23_run.cc", "if (running_version(simulator, instpath2, \"\") != 2) return &w.simulator_running;",
     "if (running_version(simulator, instpath2, \"\") == 3) return &w.simulator_running;"),
    ("running", "report/run_reading.cc", "    model.running.push_back(version);\n", ""),
    # A window of its own.
    ("window", "converter/run_end.cc", "  if (!done_.keeping && left_out > 0) {", "  if (left_out > 0) {"),
    ("window", "report/report_run.cc", "if (typed && case_blind_compare(*typed, \"C\")) start_document(page_report);",
     "if (typed) start_document(page_report);"),
    ("window", "shared/platform-posix-desktop.cc", "if (value != nullptr && std::string_view(value) == \"1\") return true;",
     "if (value != nullptr) return true;"),
    ("window", "shared/own_window.cc", "if (line.size() < answer_capacity) line.push_back", "line.push_back"),
    # The keyboard the pilot has; the card.
    ("card", "report/keyboard_layout.cc", "      {0x0809, KeyboardKind::iso},\n", ""),
    ("card", "report/keyboard_layout.cc", "if (s.language == (language & primary_bits)) return s.kind;",
     "if (s.language == language) return s.kind;"),
    ("card", "report/card.cc", "                block_of(free[i]->place) == block_of(free[i - 1]->place);", "                true;"),
    ("card", "report/card.cc", "    if (run.size() < 3) {", "    if (run.size() < 2) {"),
    ("card", "report/card.cc", "if (k.state == KeyState::free && listed && !k.name.empty()) free.push_back(&k);",
     "if (k.state != KeyState::bound && listed && !k.name.empty()) free.push_back(&k);"),
    ("card", "report/card.cc", ": on.unread.empty()               ? KeyState::free", ": true ? KeyState::free"),
    ("card", "report/card.cc", "    if (!t.whole) card.unread_tools.push_back({{t.path}, {texts.unread_tool, true}});\n", ""),
    ("card", "report/page_writer.cc", "    if (!card_.unread_tools.empty()) return;\n", ""),
    ("card", "report/page_keyboard.cc", "<< (k.phone.text.empty() ? \"\" : \" has-short\")", "", True),
    ("card", "report/page.js", ": (at + step + places.length) % places.length;", ": 0;", True),
    ("card", "report/page.js", "t.names.indexOf(q) >= 0;", "false;", True),
    ("card", "report/page.js", "if (el.classList.contains('free') || el.hasAttribute('data-free')) states = states.concat(free);", "", True),
    ("card", "report/page.js", "hits = first.concat(then);", "hits = then.concat(first);", True),
    ("card", "report/page.js", "if (third && former[name]) commands = commands.concat(former[name]);", "", True),
    ("card", "report/page.js", "    event.preventDefault();\n      go(event.shiftKey ? -1 : 1);", "    go(1);", True),
    ("card", "report/page.js", "count === 0 ? box.dataset.foundNone", "count === 0 ? box.dataset.found.replace('#', 0)", True),
    ("card", "report/key_text_fit.cc", "(i < commands || every_command)", "true"),
    ("card", "report/key_text_fit.cc", "  if (phone.text.empty() && name.empty()) {", "  if (false) {"),
    ("card", "report/card.cc", "      if (std::find(key.lines.begin() + static_cast<std::ptrdiff_t>(key.commands), key.lines.end(),", "      if (key.lines.empty() || std::find(key.lines.begin() + static_cast<std::ptrdiff_t>(key.commands), key.lines.end(),"),
    ("card", "report/controls_reader.cc", "  model.unattached_axes.push_back", "  if (false) model.unattached_axes.push_back"),
    ("card", "report/keyboard_layout.cc", "      {0x0416, KeyboardKind::abnt2},\n", ""),
    ("card", "report/page.css", "html.kneeboard .knee-page{page:kneeboard;", "html.kneeboard .knee-page{", True),
    ("card", "report/page.js", "hint.hidden = frame.scrollWidth <= frame.clientWidth + 1;", "hint.hidden = true;", True),
    ("card", "report/page.css", ".key.unknown,.swatch.unknown", ".key.unknown-x,.swatch.unknown-x", True),
    ("card", "report/page.css", ".differences{break-before:auto;columns:2;", ".differences{break-before:auto;", True),
    ("card", "report/page.css", "h3.phone-only{display:block}", "", True),
    # Words, languages, the shared grammar and sections.
    ("words", "shared/words.cc", "  if (primary == primary_german) return Language::german;\n", ""),
    ("words", "shared/words/french.txt", 'list_separator = ";"', 'list_separator = ","'),
    ("words", "converter/words.cc", "  std::string out = n == 1 ? text.one : text.many;", "  std::string out = text.many;"),
    ("words", "shared/controls_grammar.cc", "    read.header = line.substr(0, line.find_last_not_of(' ') + 1);",
     "    read.header = line;"),
    ("words", "report/controls_reader.cc", "    dev.sections[*k].kind = SectionKind::keyboard;\n", ""),
    ("words", "report/report_writer.cc", "    if (t.whole) umsg = trim(umsg) + \", \" + t.tool;", "    umsg = trim(umsg) + \", \" + t.tool;"),
    # Boxes and refusals.
    ("boxes", "shared/messages.cc", "convert_line_breaks(run.text, run.own ? own_code_page : ansi_code_page());",
     "convert_line_breaks(run.text, ansi_code_page());"),
    ("boxes", "shared/machine_text.cc", "run.own ? own_to_utf16(run.text) : ansi_to_utf16(run.text)", "ansi_to_utf16(run.text)"),
    ("boxes", "shared/windows_rules.cc", "  if (undelivered(error)) return FileRefusal::undelivered;\n", ""),
    ("boxes", "shared/messages.cc", "return why == FileRefusal::undelivered ? refusal_line(words, why) : std::string();",
     "return std::string();"),
    ("boxes", "shared/platform-posix-locale.cc",
     "      iconv(cd, nullptr, nullptr, &out_at, &out_left) == static_cast<std::size_t>(-1) ||\n", ""),
    ("boxes", "shared/platform-posix-locale.cc", "if (found != cp->from_unicode.end() && found->first == u)",
     "if (found != cp->from_unicode.end())"),
    ("boxes", "report/tables_reader.cc", "           {{std::string(note), true}});", "           {});"),
    # Of the last round. Tavlet's two passes over controls.ini.
    ("passes", "report/controls_reader.cc", "    if (first == second) {", "    if (true) {"),
    ("passes", "report/controls_reader.cc", "      if (in->failed()) return false;\n", ""),
    ("passes", "report/controls_reader.cc", "constexpr int controls_reads = 3;", "constexpr int controls_reads = 2;"),
    ("passes", "shared/controls_grammar.h", "  return command >= first_key_command && command <= last_key_command;",
     "  return command > first_key_command && command <= last_key_command;"),
    # The card of each joystick.
    ("joysticks", "report/card.cc", "      if (b.kind == on && b.joystick == k &&\n", "      if (b.kind == on &&\n"),
    ("joysticks", "report/card.cc", "if (b.kind == on && b.joystick == k && b.code == i)", "if (b.kind == on && b.code == i)"),
    ("joysticks", "report/card.cc", "c.conflict = in_conflict(v, on, i, k);", "c.conflict = in_conflict(v, on, i, 1);"),
    ("joysticks", "report/card.cc", "FreeControls free = free_controls_of(joy, k, {&v});",
     "FreeControls free = free_controls_of(joy, 1, {&v});"),
    ("joysticks", "report/card.cc", "bindings_of(model.versions[1], d.position3, texts)",
     "bindings_of(model.versions[0], d.position3, texts)"),
    ("joysticks", "report/card.cc", "  bool one = free.size() == 1;", "  bool one = false;"),
    # The tables as one set, the reports' first bytes.
    ("tables", "shared/system.cc", "      if (file_exists(folder + name)) return true;", "      return file_exists(folder + name);"),
    ("tables", "shared/system.cc", "    if (beside && holds_any(*beside)) folder = *beside;", "    if (beside) folder = *beside;"),
    ("tables", "shared/system.cc", "    note_machine_name(whole);\n", ""),
    ("tables", "report/report_writer.cc", "  first = false;\n", ""),
    # Brin23's account of every line, its receipt, the read-back and -check.
    ("receipt", "shared/textfile.cc", "  temp_file_.write_line(text);\n  ++lines_;",
     "  if (lines_ < 5) temp_file_.write_line(text);\n  ++lines_;"),
    ("receipt", "shared/textfile.cc",
     "  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) ok_ = false;",
     "  std::string flipped(bytes);\n  for (char& c : flipped) c = c == '5' ? '6' : c;\n"
     "  if (std::fwrite(flipped.data(), 1, flipped.size(), file_) != flipped.size()) ok_ = false;"),
    ("receipt", "shared/platform-posix.cc", "    if (std::fwrite(buf, 1, n, out) != n) ok = false;",
     "    if (std::fwrite(buf, 1, n - 1, out) != n - 1) ok = false;"),
    ("receipt", "converter/conversion.cc",
     "told.fate = !told.v2 ? Fate::unreadable : made ? Fate::carried : Fate::not_carried;",
     "told.fate = !told.v2 ? Fate::not_carried : made ? Fate::carried : Fate::not_carried;"),
    ("receipt", "converter/converting.cc", "      told.fate = Fate::renamed;\n", ""),
    ("receipt", "converter/keep.cc", "      outcome.kept = keeping && !taken && !group.set_aside;", "      outcome.kept = keeping && !taken;"),
    ("receipt", "converter/receipt.cc", "  if (!outcome.kept) ++facts_.old_left_out;", "  ++facts_.old_left_out;"),
    ("receipt", "converter/receipt_text.cc", "if (!device.empty() && (!any || device != headed)) {",
     "if (!device.empty() && !any) {"),
    ("receipt", "converter/receipt.cc", "  facts_.keyboard = keyboard_.chosen();\n", ""),
    ("receipt", "converter/convert_run.cc", "  const std::string new_file = check ? receipt.check_file() : ctrfile_3;",
     "  const std::string new_file = ctrfile_3;"),
    ("receipt", "converter/convert_run.cc", "  return done.read > 0 && done.bindings == 0 && kept == 0 && done.lines > 0 &&",
     "  return done.read > 0 && done.bindings == 0 && kept == 0 &&"),
    ("receipt", "converter/names.cc", "  return before != nullptr && after != nullptr && *before != *after;",
     "  return before != nullptr && after != nullptr;"),
    # Faults nobody planted before: boundaries and small steps.
    ("keep", "converter/keep.cc", "if (!key_commands_.empty() && is_key_command(line.number)) ++key_commands_.back();",
     "if (!key_commands_.empty() && line.number > first_key_command) ++key_commands_.back();"),
    ("keep", "converter/keep.cc", "n += !group.taken_by[c] && is_key_command(group.candidates[c]->number) ? 1 : 0;",
     "n += !group.taken_by[c] && group.candidates[c]->number > first_key_command ? 1 : 0;"),
    ("keep", "converter/keep.cc", "for (const OldBinding& binding : old_[i].bindings) n += is_key_command(binding.number);",
     "for (const OldBinding& binding : old_[i].bindings) n += binding.number > first_key_command;"),
    ("keep", "converter/keep.cc", "    file.read = OldFile::Read::failed;\n    file.sections.clear();",
     "    file.read = OldFile::Read::failed;"),
    ("keep", "converter/conversion.cc", "    if (v3 >= 0) converted_to_", "    if (v3 > 0) converted_to_"),
    ("keep", "converter/convert_run.cc", "if (plan.keeping || (plain && plan.source.name != ctrfile_3)) {",
     "if (plan.keeping || plain) {"),
    ("undo", "converter/backup.cc", "  if (next <= last_probed) {", "  if (next < last_probed) {"),
    ("undo", "shared/textfile.cc", "  bool whole = std::ferror(in) == 0;", "  bool whole = true;"),
    ("undo", "converter/run_end.cc", "  } else if (restored_from_.empty()) {", "  } else {"),
    ("window", "report/report_run.cc", "{texts.window_written, true},", "{texts.window_written},"),
    ("window", "converter/run_end.cc", "{w.kept_as, true}", "{w.kept_as}"),
    ("boxes", "shared/messages.cc", "    last = trim(last);\n", ""),
    ("boxes", "shared/windows_rules.cc", "389, 391, 392,", "389, 392,"),
    ("boxes", "shared/windows_rules.cc", "(byte >= 0xE0 && byte <= 0xFC);", "(byte >= 0xE0 && byte < 0xFC);"),
    ("boxes", "shared/machine_text.cc", "      out.push_back('?');", "      out.push_back(c);"),
    ("running", "report/texts.cc", 'std::string name = version == 0 ? "Aerlon" : "Aerlon " + std::to_string(version);',
     'std::string name = "Aerlon " + std::to_string(version);'),
    ("running", "report/card.cc", "card.notices.push_back({{simulator_running_words(texts, version), true}});",
     "card.notices.push_back({{simulator_running_words(texts, version)}});"),
    ("card", "report/page_writer.cc", '      if (!run.last.empty()) o_ << "&ndash;" << Html{run.last};',
     '      o_ << "&ndash;" << Html{run.last};'),
    ("card", "report/page_writer.cc", "      if (words == &w_.not_known && card_.unread_tools.empty()) continue;",
     "      if (words == &w_.not_known) continue;"),
    ("card", "report/card.cc", "if (card.keys.back().fit.hidden() > 0) card.part_shown", "if (card.keys.back().fit.hidden() > 1) card.part_shown"),
    ("card", "report/card.cc", "c.label = c.index >= 0 ? button_text", "c.label = c.index > 0 ? button_text"),
    ("card", "report/card.cc", '    if (!text.empty()) text.push_back({", "});', '    if (!text.empty()) text.push_back({" "});'),
    ("card", "report/keyboard_layout.cc", "  constexpr double below = keyboard_height + 0.25;", "  constexpr double below = keyboard_height;"),
    ("card", "report/page.css", ".key{left:calc(var(--u)*var(--xs,var(--x)));top:calc(var(--u)*var(--ys,var(--y)))}",
     ".key{left:calc(var(--u)*var(--xs,var(--x)));top:calc(var(--u)*var(--y))}", True),
    ("card", "report/page.js", "      if (el.hasAttribute('data-conflict')) states = states.concat(conflict);", "", True),
    ("words", "shared/devices.cc", "  if (code < 2 || code > 10) return std::nullopt;", "  if (code < 2 || code >= 10) return std::nullopt;"),
    ("words", "shared/textfile.h", "    mix(0x100);  // the line's end\n", ""),
    ("words", "report/report_writer.cc", "  write_encoded(csv_, trimmed(csv_line), csv_first_);",
     "  write_encoded(csv_, trimmed(csv_line), text_first_);"),
    ("words", "report/sibling_reader.cc", "  taken.whole = !in.failed();", "  taken.whole = !in.failed() || !taken.keys.empty();"),
]


def run(cmd, cwd, quiet=True):
    return subprocess.run(cmd, cwd=cwd, shell=True, stdout=subprocess.DEVNULL if quiet else None,
                          stderr=subprocess.DEVNULL if quiet else None).returncode


def main():
    top = subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True,
                         text=True, check=True).stdout.strip()
    wanted = set(sys.argv[1:])
    work = tempfile.mkdtemp(prefix="malvet-faults-")
    src = os.path.join(work, "src")
    run(f"git worktree add --detach {src} HEAD", top)
    # The page's checkers, as the test command installed them.
    checkers = os.path.join(top, "tests", "browser", "node_modules")
    if os.path.isdir(checkers):
        os.symlink(checkers, os.path.join(src, "tests", "browser", "node_modules"))
    build = os.path.join(work, "build")
    run(f"cmake -S {src} -B {build} -DCMAKE_BUILD_TYPE=RelWithDebInfo", top)
    if run(f"cmake --build {build} -j2", top) != 0:
        print("the code as it is does not build")
        return 2
    counts = {}
    try:
        for fault in FAULTS:
            module, path, text, instead = fault[:4]
            browser = len(fault) > 4 and fault[4]
            if wanted and module not in wanted:
                continue
            name = os.path.join(src, path)
            with open(name) as f:
                original = f.read()
            if text not in original:
                print(f"  stale  {module}: {path}: {text[:60]!r}")
                continue
            with open(name, "w") as f:
                f.write(original.replace(text, instead, 1))
            tests = "-E '^Windows\\.'" if browser else "-E '^(Windows\\.|Browser\\.)'"
            # A fault that does not build is stillborn: neither caught nor
            # missed, and counted apart.
            builds = run(f"cmake --build {build} -j2", top) == 0
            caught = builds and run(f"ctest -j2 {tests}", build) != 0
            with open(name, "w") as f:
                f.write(original)
            found, total, stillborn = counts.get(module, (0, 0, 0))
            counts[module] = (found + caught, total + builds, stillborn + (not builds))
            verdict = "caught" if caught else "MISSED" if builds else "STILLBORN"
            print(f"  {verdict} {module}: {path}: {text[:60]!r}", flush=True)
    finally:
        run(f"git worktree remove --force {src}", top)
    for module, (found, total, stillborn) in counts.items():
        print(f"{module}: {found} of {total} caught"
              + (f", {stillborn} that did not build" if stillborn else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
