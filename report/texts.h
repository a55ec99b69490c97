// The texts of the reports in the run's language, in one place: the words of
// the rows, the headings, and how a binding is written.
#ifndef MALVET_REPORT_TEXTS_H
#define MALVET_REPORT_TEXTS_H

#include <cstdint>
#include <string>
#include <string_view>

#include "report/bindings.h"

struct ReportTexts {
  bool qfr = false;
  std::string kbdnam, txtaxe, txtbut, nokey, nokbk, unass, umsg;
  std::string heading[3];   // the heading row: command, binding, device
  std::string differences;  // the differences section's heading
  std::string none;         // the differences section when there is none
  std::string curseur, hat;  // the SideWinder Force Feedback 2's slider and hat switch
  // After a file's name: it could not be read, version "#" left out; it
  // could not be read to its end.
  std::string unread_log, unread_tool;
};

// The texts in the language, as the program's own (Windows-1252) text.
ReportTexts report_texts(bool qfr);

// The texts in the machine's code page, for the report files, which hold
// them among the machine's names: each letter it lacks as the nearest one.
ReportTexts in_code_page(const ReportTexts& texts);

// The joystick whose axes 6 and 8 are a slider and a hat switch.
inline constexpr std::string_view sidewinder_ff2 = "SideWinder Force Feedback 2 Joystick";

// The axis as the report names it: "X Axis" ("Axe X"), "4 Axis", and the
// slider and hat switch of the SideWinder Force Feedback 2.
std::string axis_text(std::int32_t axis, std::string_view joystick_name, const ReportTexts& texts);

// A button as the report names it: "Button 3" ("Bouton 3").
std::string button_text(std::int32_t button, const ReportTexts& texts);

// What follows the name of the simulator's log in the reports' first line
// for a version left out because that log could not be read.
std::string unreadable_log_words(const ReportTexts& texts, std::int32_t version);

// The text of a binding's second field: the key's name, "Button 3", the
// axis, "Not assigned to a keyboard key" (its full 64 characters) or
// "Unassigned".
std::string binding_text(const Binding& binding, const ReportTexts& texts);

#endif
