// Messages to the user, the language of the user interface, the file dialog.
//
// A message is one text in which "/" starts a new line and "\/" stands for a
// plain slash. Texts are single-byte Windows-1252, French letters included.
#ifndef MALVET_SHARED_MESSAGES_H
#define MALVET_SHARED_MESSAGES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shared/own_text.h"
#include "shared/platform.h"
#include "shared/words.h"

// Message kinds; for the question kinds the same variable brings the answer
// back: 1 yes or ok, 0 no or cancel, and 2 for no in a yes/no/cancel box.
inline constexpr std::int32_t s_info = 0;
inline constexpr std::int32_t s_error = 1;
inline constexpr std::int32_t s_warning = 2;
inline constexpr std::int32_t s_yesno = 3;
inline constexpr std::int32_t s_okcancel = 4;
inline constexpr std::int32_t s_yesnocancel = 5;

// What a dialog shows at most, counted without trailing blanks.
inline constexpr std::size_t dialog_title_capacity = 63;
inline constexpr std::size_t dialog_message_capacity = 511;

// Turns each line-breaking "/" of a message into a line feed and each "\/"
// into a plain "/", reading its bytes in the code page `code_page`.
void convert_line_breaks(std::string& msg, std::uint32_t code_page);

// Shows `msg`, the program's own words and the machine's names in runs, in
// a box of the kind `msg_status` titled `tit`, or prints it on the console
// when `qline` is true (the kind is then left as it was): each
// line-breaking "/" becomes a line feed and the backslash of each "\/" is
// removed, each run read in its own code page; the box shows at most 511
// bytes of it. A kind outside 0..5 shows nothing.
void error_message_tit(std::int32_t& msg_status, std::string_view tit, MixedText msg, bool qline);

// error_message_tit of a text of the machine's code page, converted in
// place.
void error_message_tit(std::int32_t& msg_status, std::string_view tit, std::string& msg,
                       bool qline);

// Shows `msg`, cut to the 256 characters of a run's message (the names it
// gives cut first, never the program's words that say why), then `note` (a
// last line of the box's own, never cut off), in an error box titled
// `title`: how a run reports the error that stops it. Returns the exit status
// of a stopped run, 1.
int stop_run(std::string_view title, const MixedText& msg, const MixedText& note = {});

// The error of an output file that can't be opened or written: "Output file
// : <name>/Error opening" in the words' language, and the refusal's line.
MixedText output_file_error(const SharedWords& words, std::string_view name, FileRefusal why);

// The last line of an error for what refused a file step, "/" first:
// another program holds the file (Excel, say: close it first), the file is
// read-only, or access was denied to a file that is not (ransomware
// protection, an antivirus); empty for none.
std::string refusal_line(const SharedWords& words, FileRefusal why);

// The last line of an error for a file that could not be read, "/" first:
// when OneDrive or the network did not deliver it, why; else empty (what
// refuses an output file is for output_file_error to say).
std::string input_refusal_line(const SharedWords& words, FileRefusal why);

// error_message_tit with the title "Malvet".
void error_message(std::int32_t& msg_status, std::string& msg, bool qline);

// The message box of the kind `*status`, its answer stored back for the
// question kinds; any other kind shows nothing.
void DisplayMessage(const char* title, const char* message, std::int32_t* status);

// 1 when the user interface language is a French one, else 0 (ui_language()
// tells the language).
std::int32_t IsLanguageFrench();

// The open-file dialog with the comma-separated patterns of `filter` (`desc`
// is accepted and not shown). The chosen path, or nothing after a cancel,
// which is also reported in an error box in the language of `words`. A path
// whose letters the machine's code page can't all hold is noted by
// note_machine_name.
std::optional<std::string> GetFileName(std::string_view title, std::string_view path,
                                       std::string_view filter, std::string_view desc, bool multi,
                                       const SharedWords& words);

#endif
