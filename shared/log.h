// The run's log file.
//
// log_message_f("CREATE") starts a new log file named after the program and
// the date and time (Tavlet_2024_03_05-07_08_09.log), or "CREATE name" one of
// the given name; every other call appends a message to the current log file
// ("Logfile.txt" until the first CREATE) and echoes it on the console. A
// message is split into lines at each "/" (or kept whole when held in double
// quotes), and the prefixes {W}, {I} and {E} frame it with WARNING, INFO or
// ERROR banner lines. The file is opened and closed around every message, so
// it is complete on disk after each call; one that can't be opened never
// stops the run, the console copy is written all the same.
#ifndef MALVET_SHARED_LOG_H
#define MALVET_SHARED_LOG_H

#include <ctime>
#include <initializer_list>
#include <string>
#include <string_view>

#include "shared/console.h"

// Logs a message, or runs a CREATE command. After "CREATE-SEND-NAME" `msg`
// holds the generated log file name.
void log_message_f(std::string& msg);

// log_message_f for a message that needs nothing back.
void log_message_f(std::string_view msg);

// Logs `msg` as one line of text as it stands: never a CREATE, a banner or
// lines split at "/", for texts that come from files or the machine (a key
// named "Num /" or, on a Japanese keyboard, "半角/全角").
void log_text_f(std::string_view msg);

// Logs one line made of `parts`, as log_text_f does: on the console each
// part is shown in its own code page; in the log file the own words are in
// the machine's code page, as the machine's text around them.
void log_line_f(std::initializer_list<TextPart> parts);

// The log file name that a CREATE without a name makes for a program started
// as `program_path` at the local time `tm`: C:\Tools\Tavlet.exe gives
// Tavlet_2024_03_05-07_08_09.log (the date replaces all from the first ".").
std::string dated_log_name(std::string_view program_path, const std::tm& tm);

// The name of the current log file.
const std::string& log_file_name();

#endif
