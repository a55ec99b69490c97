// The texts of the reports in the run's language: the words of the rows,
// the headings, the page's words (the tavlet part of each language's words
// file, shared/words.h), and how a binding is written.
#ifndef MALVET_REPORT_TEXTS_H
#define MALVET_REPORT_TEXTS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/bindings.h"
#include "shared/devices.h"
#include "shared/own_text.h"
#include "shared/words.h"

// The reference card's own words (report/page_writer.h).
struct PageWords {
  std::string lang;  // the page's language: "en", "fr", "de"
  std::string title, search, version, keyboard_iso, keyboard_ansi, keyboard_abnt2;
  // The count of places the search found: "0 found", "1 found", "# found".
  std::string found_none, found_one, found;
  // The words the search finds the taken keys and the keys not known by,
  // each a list of words apart by "|"; the control that finds the key
  // pressed next.
  std::string search_taken, search_not_known, press_key;
  std::string kneeboard;  // the control that prints the kneeboard's pages
  std::string legend_bound, legend_taken, legend_conflict, legend_free;
  // A key whose state a tool's unread file hides: "not known", and why, "#"
  // the tools: "#'s file could not be read".
  std::string not_known, not_known_why;
  // A key bound or taken that a tool read short may take too, "#" the tool.
  std::string may_also;
  std::string scroll_hint;  // under a keyboard wider than the screen
  std::string off_drawing, part_shown, key_lines, free_keys;
  std::string joysticks, no_joystick, not_plugged, axes, buttons, free, free_many, no_command;
  std::string conflicts, no_conflict, taken_by, unbound;
  std::string command, binding_v2, binding_v3;  // the differences' columns
  std::string name_sep;  // between a key's name and what it does: ": ", " : "
};

struct ReportTexts {
  Language language = Language::english;
  const SharedWords* shared = nullptr;  // the words both programs share
  char list_separator = ',';            // the CSV report's, when the region gives none
  // Boxes: no installation, a table that can't be read ("#" its name), and
  // the closing question.
  std::string no_installation, table_unreadable, open_question;
  std::string kbdnam, txtaxe, nokbk, unass, umsg;
  std::string heading[3];   // the heading row: command, binding, device
  std::string differences;  // the differences section's heading
  std::string none;         // the differences section when there is none
  // After a file's name: it could not be read, version "#" left out; it
  // could not be read to its end.
  std::string unread_log, unread_tool;
  // The reports' first line while a simulator runs: "#" its name.
  std::string simulator_running;
  // The end of a run in a window of its own: the files written (with the
  // reference card, its full name on the next line; without it, the
  // folder's after the words), and how to open the card.
  std::string window_written, window_written_no_card, window_open_card;
  PageWords page;    // the words of the page, besides those above it shares
  InputWords input;  // the shared words' naming of inputs, in the reports' code page
};

// The texts in `language`, as the program's own (Windows-1252) text.
ReportTexts report_texts(Language language);

// The words of the tavlet part of `language`'s words file, made anew
// (without the shared ones).
ReportTexts report_texts_made(Language language);

// The texts in the machine's code page, for the report files, which hold
// them among the machine's names: each letter it lacks as the nearest one.
ReportTexts in_code_page(const ReportTexts& texts);

// What follows the name of the simulator's log in the reports' first line
// for a version left out because that log could not be read.
std::string unreadable_log_words(const ReportTexts& texts, std::int32_t version);

// The line that says the simulator of `version` (2 or 3; 0 for one not
// known) was running while the files were read.
std::string simulator_running_words(const ReportTexts& texts, std::int32_t version);

// True when a binding's text (binding_text) is the program's own words;
// false for a key's name, which is the machine's.
inline bool binding_text_is_own(BindingKind kind) { return kind != BindingKind::key; }

// The text of a binding's second field: the key's name, "Button 3", the
// axis, "Not assigned to a keyboard key" (its full 64 characters) or
// "Unassigned".
std::string binding_text(const Binding& binding, const ReportTexts& texts);

#endif
