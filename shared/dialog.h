// The dialog module: a blocking message box and an open-file dialog.
//
// On both platforms two environment variables steer it for scripts and tests:
// MALVET_DIALOGS names a file of answers (no dialog is shown; each question
// box takes its next line, "yes", "no", "ok" or "cancel", and each file dialog
// its next line as the chosen path, an empty line meaning cancel; once the
// lines run out a question is answered no or cancel and a file dialog is
// cancelled), and MALVET_DIALOG_LOG names a file to which every dialog appends
// one transcript line:
//   box|KIND|TITLE|MESSAGE            (line feeds of the message as "\n")
//   open|TITLE|INITIAL PATH|PATTERNS  (patterns joined by ",")
// Without a script the platform's own dialogs are shown.
#ifndef MALVET_SHARED_DIALOG_H
#define MALVET_SHARED_DIALOG_H

#include <optional>
#include <string>
#include <vector>

#include "shared/own_text.h"

// `dialog_type` "ok", "yesno", "okcancel" or "yesnocancel"; `icon` "info",
// "warning", "error" or "question". The transcript holds the message's bytes
// as they are; the box shows each run in its own code page. Returns 1 for
// ok or yes, 0 for cancel (and for no in a yes/no box), 2 for no in a
// yes/no/cancel box.
int dialog_message_box(const std::string& title, const MixedText& message,
                       const std::string& dialog_type, const std::string& icon, int default_button);

// The chosen path (several joined by "|" when `multi`), or nothing when the
// dialog was cancelled; `whole` (when given) false when its letters were not
// all held by the code page.
std::optional<std::string> dialog_open_file(const std::string& title,
                                            const std::string& initial_path,
                                            const std::vector<std::string>& patterns, bool multi,
                                            bool* whole = nullptr);

#endif
