// The steps of Tavlet's run (report/report_run.cc runs them in order), each
// a function with what it reads and what it fills: the installation and the
// language, the model's start with the system's answers (the simulators
// running, the joysticks, the keyboard's names), the tables, each version's
// controls.ini, the sibling tools, what is found in them and its trace.
#ifndef MALVET_REPORT_RUN_STEPS_H
#define MALVET_REPORT_RUN_STEPS_H

#include <optional>
#include <string>
#include <string_view>

#include "report/bindings.h"
#include "report/keyboard_layout.h"
#include "report/report_writer.h"
#include "report/texts.h"
#include "shared/install.h"

// The title of Tavlet's boxes.
inline constexpr const char* report_title = "Tavlet (beta)";

// Shows an error box, with a last line when a file or folder name lost
// letters to the code page; the run then stops. Returns the exit status, 1.
int stop_report(const ReportTexts& texts, const MixedText& msg);

// What the run's first steps settle: the installation, the language (its
// words) and the keyboard.
struct Start {
  InstallationRecord inst00;
  ReportTexts texts;
  KeyboardChoice keyboard;
};

// The command tables of the versions installed (empty for one that is
// not), and the layout of the reports' columns.
struct Tables {
  CommandTable commands[2];
  Layout layout;
};

// 1-7. The installation, the language (the user interface's unless "-EN")
// and the log; nothing after the box that says no version is installed.
std::optional<Start> start_report(int argc, char** argv);

// 8. The model's start: the simulators running, the keyboard drawn, the
// joysticks attached, and the versions left out because their log could
// not be read (logged).
ReportModel new_model(const Start& start);

// 9-11. The command tables of the installed versions and the scan-code
// table of the keyboard, one set from one folder; then the name of each key
// of the drawing. Nothing after the box that names a table that can't be
// read.
std::optional<Tables> read_tables(const Start& start, ReportModel& model);

// 13-14. Each installed version's controls.ini, 2 before 3; a version that
// can't be read ends the reading, with the message of its box.
std::optional<MixedText> read_versions(const Start& start, const Tables& tables,
                                       ReportModel& model);

// 15. The sibling tools' settings files: their keys, and a line in the log
// for one that could not be read to its end.
void read_sibling_tools(const ReportTexts& texts, ReportModel& model);

// 16. What the model shows once every version is read: the differences,
// the conflicts, the unused keys, axes and buttons (only the tools read to
// their end take keys).
void analyse(const Tables& tables, const Start& start, ReportModel& model);

// 17. What was found, on the console.
void trace_findings(const ReportModel& model);

#endif
