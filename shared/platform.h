// The platform layer: everything the programs ask of the operating system.
//
// Two implementations answer this one contract: platform-win32.cc with the
// real Win32 calls, and platform-posix.cc, which answers from the stand-in
// files named by the MALVET_* environment variables and the locale. Nothing
// outside these files knows which one it runs on.
//
// Paths inside the system use "\" as the folder separator, as on Windows; the
// POSIX implementation turns them into "/" on their way to the file system
// and back into "\" when they come from it.
#ifndef MALVET_SHARED_PLATFORM_H
#define MALVET_SHARED_PLATFORM_H

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


// ---- Paths and files ----------------------------------------------------------

// A system path as the file system takes it ("\" to "/" on POSIX).
std::string to_native_path(std::string_view path);

// A path from the file system as the system keeps it ("/" to "\" on POSIX).
std::string from_native_path(std::string_view path);

// fopen() of a system path; nullptr when it can't be opened. A folder never
// opens for reading.
std::FILE* open_file(const std::string& path, const char* mode);

// Why Windows refused a file step: another program holds the file open (a
// sharing or lock violation), the file is read-only, access was denied to a
// file that is not (ransomware protection, an antivirus), or OneDrive or the
// network could not deliver it (a cloud-only file offline, a network path
// gone).
enum class FileRefusal { none, held, read_only, access_denied, undelivered };

// Why the last file step refused (opening a file, making a passing file,
// putting one in another's place); none when it did not refuse or was done.
// Every such step sets it anew. Never held or access_denied on POSIX.
FileRefusal last_file_refusal();

// True when the file exists and is read-only: Windows' read-only attribute;
// on POSIX no write permission at all (as chmod a-w leaves it).
bool file_read_only(const std::string& path);

// Empties a file open for writing and puts its position at its start: a
// file rewritten so keeps its name and attributes (a hidden file can't be
// made anew on Windows). False when that failed.
bool truncate_open_file(std::FILE* file);

// Removes a file; false when it could not be removed.
bool delete_file(const std::string& path);

// Writes an open file's data through to the disk.
bool flush_to_disk(std::FILE* file);

// Puts `from` in the place of `to` in one step, replacing it: a reader sees
// the old file or the new one, never a part of either. Both lie in one folder.
bool replace_file(const std::string& from, const std::string& to);

// True when something that is not a folder exists under that system path.
bool file_exists(const std::string& path);

// True when anything at all (a file, a folder, a link, even a broken one)
// has that name.
bool name_taken(const std::string& path);

// True when the name is a link (a symbolic link; on Windows any reparse
// point, a junction too): what it names is another's, not a file of its
// own.
bool is_link(const std::string& path);

// Makes a new file under a passing name of the programs' own and opens it for
// writing ("wb"). A plain file already there is a leftover of an earlier run
// that was cut short, and is removed first; anything else under that name (a
// link, a folder) is never written through: nullptr then, as when the file
// can't be made. The file is made new and exclusively (O_CREAT | O_EXCL |
// O_NOFOLLOW on POSIX, CREATE_NEW on Windows).
std::FILE* create_passing_file(const std::string& path);

// Gives the file `from` the name `to` when nothing has that name yet, in one
// step; false, `from` left as it is, when the name is taken or the step
// failed. Both lie in one folder.
bool rename_to_new_name(const std::string& from, const std::string& to);

// True when a folder exists under that system path.
bool folder_exists(const std::string& path);

// Where Windows keeps a file that a program that is not elevated wrote
// under Program Files (UAC's file virtualization: the same path under
// "%LOCALAPPDATA%\VirtualStore"); nothing when the path lies elsewhere, and
// on POSIX.
std::optional<std::string> virtual_store_copy(const std::string& path);

// The modification time of a file in seconds since 1970-01-01 00:00 UTC;
// nothing when the file can't be examined.
std::optional<std::int64_t> file_modified_time(const std::string& path);

// The local date and time.
std::tm local_time_now();

// ---- The program, its environment and the registry ---------------------------

// The path by which the program was started (its argument 0), as the system
// keeps paths.
std::string program_path();

// The program's argument `index` (1 for the first after its name) of the
// `argc` in `argv`, as the system keeps text: on Windows taken from the wide
// command line, a letter the code page lacks as "?" and `whole` (when given)
// then false; on POSIX as it stands.
std::string program_argument(int argc, char** argv, int index, bool* whole = nullptr);

// The folder that holds the program's executable, with its final "\";
// nothing when it can't be found. A letter the code page lacks comes as "?",
// and `whole` (when given) is then false.
std::optional<std::string> program_folder(bool* whole = nullptr);

// The working folder, in full, as the system keeps paths.
std::string working_folder();

// The value of an environment variable; nothing when it is not set. Its
// letters that the machine's code page lacks come as "?" (never a look-alike
// letter), and `whole`, when given, tells whether every letter was held.
std::optional<std::string> environment_variable(const std::string& name, bool* whole = nullptr);

// Windows status codes the registry reader passes on.
inline constexpr std::int32_t status_file_not_found = 2;  // ERROR_FILE_NOT_FOUND
inline constexpr std::int32_t status_more_data = 234;     // ERROR_MORE_DATA

// The outcome of reading one registry value, step by step as Windows reports
// it: opening the key, querying the value, closing the key (0 is success).
struct RegistryRead {
  std::int32_t open_status = status_file_not_found;
  std::int32_t query_status = status_file_not_found;
  std::int32_t close_status = 0;
  std::string data;   // the value's bytes; a string ends with its NUL
  bool whole = true;  // every letter of a text held by the code page
};

// The roots of the registry that the programs read.
enum class RegistryRoot { current_user, classes_root, local_machine };

// Reads a value under `root`. Key and value names compare without regard to
// case, and a trailing "\" of the key is ignored. A value larger than
// `capacity` bytes gives the status 234 and no data, as Windows does. A text
// comes back in the machine's code page, each letter it lacks "?" (never a
// look-alike letter); `whole` tells whether every letter was held.
RegistryRead read_registry_value(RegistryRoot root, const std::string& subkey,
                                 const std::string& name, std::size_t capacity);

// ---- The command interpreter --------------------------------------------------

// How a command of the interpreter ended: its exit status, and the status of
// starting it (0 when it could be started).
struct CommandStatus {
  int exit_status = 0;
  int command_status = 0;
};

// "DIR /TW /B /O-D "<pattern>" > <listing>": the bare names of the files
// matching `pattern` ("?" matching one character), newest first, one a line,
// into the file `listing`, made new as a passing file (created empty when
// nothing matches). A command status other than 0 means that no listing was
// made; a listing that could not be written whole is removed.
CommandStatus list_newest_first(const std::string& pattern, const std::string& listing);

// "COPY /Y "<from>" "<to>"", made safe: the copy is written to the passing
// file `passing` and takes the name `to` only once whole and on the disk,
// never in the place of a file already there. A copy cut short therefore
// never stands under the name `to`; the next copy through the same passing
// name removes what it left. Exit status 0 on success, 1 on failure (the
// passing file then removed).
CommandStatus copy_file_whole(const std::string& from, const std::string& passing,
                              const std::string& to);

// Opens a document with the program associated with its kind, without
// waiting ("start Controls.txt"; xdg-open on POSIX, when there is one).
void start_document(const std::string& path);

// ---- Keyboard and joysticks ----------------------------------------------------

// The name of a key in the current keyboard layout, as GetKeyNameTextA gives
// it for `lparam` (scan code in bits 16 to 23, extended-key flag in bit 24),
// in a buffer of `capacity` bytes; empty when the layout has no name for it.
std::string key_name_text(std::uint32_t lparam, std::size_t capacity);

// The language identifier of the keyboard layout the pilot types with
// (0x0407 German, 0x0809 British English, 0x040C French, 0x0409 US English).
// Windows: the low 16 bits of the layout's name for the program's own
// thread (GetKeyboardLayoutNameW, "00000407"), else the low word of
// GetKeyboardLayout(0); the stand-in: MALVET_KEYBOARD_LAYOUT, four
// hexadecimal digits, else the user interface language's identifier.
std::uint16_t keyboard_layout_language();

// The number of joystick slots, as joyGetNumDevs answers.
std::uint32_t joystick_slots();

// What a joystick slot holds, as joyGetDevCapsA answers.
struct JoystickCaps {
  std::int32_t axes = 0;
  std::int32_t buttons = 0;
  std::uint16_t vendor = 0;   // wMid
  std::uint16_t product = 0;  // wPid
  std::string name;           // szPname
  std::string registry_key;   // szRegKey
};

// The capabilities of the joystick in `slot`, nothing when none answers there.
std::optional<JoystickCaps> joystick_caps(std::uint32_t slot);

// ---- The console -----------------------------------------------------------------

// True when standard output is a Windows console (never on POSIX).
bool standard_output_is_console();

// Writes text of the machine's code page to standard output. To a Windows
// console it goes as wide text, so that it shows its right letters whatever
// the console's code page (which stays as it was); to a file or a pipe, and
// on POSIX, its bytes go out as they are.
void write_standard_output(std::string_view text);

// Writes text to standard output: `units` to a Windows console, `bytes`
// (the same text in the machine's code page) elsewhere.
void write_standard_output(std::u16string_view units, std::string_view bytes);

// True when the console window was made for this program alone, as a
// double-click in Explorer makes it: the window then closes the moment the
// program ends. Windows: standard output is the console, which has a window
// (GetConsoleWindow), the program was not started hidden (SW_HIDE), and
// either GetConsoleProcessList counts this process only (never from a
// prompt) or MALVET_WINDOW is "1" (the release's .cmd files, whose cmd.exe
// shares the console); never to a file or a pipe. The stand-in:
// MALVET_EXPLORER or MALVET_WINDOW is "1".
bool console_of_its_own();

// Drops what was typed in the console before now (standard input, when it
// is a console or a terminal): it is not the answer to a question about to
// be asked.
void drop_typed_ahead();

// ---- Programs running ------------------------------------------------------------

// The programs running on the machine, each by the full path of its
// executable, or by the executable's name alone when its path can't be read
// (Windows: the process snapshot; the stand-in: the lines of the file
// MALVET_PROCESSES, none when it is unset or missing). Nothing when the list
// can't be had (no snapshot; a stand-in file that can't be read to its
// end): that is not "nothing runs".
std::optional<std::vector<std::string>> running_programs();

// The full name of a path named from the working folder, "." and ".."
// resolved, as the system keeps paths (GetFullPathNameA on Windows).
std::string full_path_name(const std::string& path);

// True when both paths name one existing file, whatever their spelling (a
// link, another letter case, a short name); false when either is missing.
bool same_file(const std::string& a, const std::string& b);

// ---- The machine's code page ---------------------------------------------------
//
// Every text of the system is single bytes of the machine's ANSI code page:
// GetACP on Windows (1252 in Western Europe, 1250 in Central Europe, 1251 for
// Cyrillic...); in the stand-in the Windows single-byte code page that
// MALVET_CODEPAGE names by its number, else 1252.

// The code page's number.
std::uint32_t ansi_code_page();

// The code page's text as UTF-16; a byte that stands for no character, or
// for a control character above 0x7F, becomes "?".
std::u16string ansi_to_utf16(std::string_view text);

// UTF-16 text in the code page; each character it lacks becomes "?" (a
// surrogate pair one "?"), never a look-alike letter. `whole`, when given,
// is set to whether every character was held.
std::string utf16_to_ansi(std::u16string_view text, bool* whole = nullptr);

// ---- Regional settings ---------------------------------------------------------

// The list separator of the user's region, which a spreadsheet splits a CSV
// file on: "," in the US and the UK, ";" in France, Germany, Poland...
// (Windows: LOCALE_SLIST; the stand-in: MALVET_LIST_SEPARATOR). Nothing when
// it can't be read or is not one of "," ";" "|" and the tab.
std::optional<char> regional_list_separator();

// True for the separators a CSV file may be split on.
inline bool is_list_separator(char c) { return c == ',' || c == ';' || c == '|' || c == '\t'; }

// ---- User interface language -------------------------------------------------

// The Windows language identifier of the user interface: 0x040C for French,
// 0x0409 for English and so on.
std::uint16_t user_ui_language();

// ---- Native dialogs -------------------------------------------------------------

// A blocking message box. `dialog_type` is "ok", "yesno", "okcancel" or
// "yesnocancel"; `icon` is "info", "warning", "error" or "question". The
// message comes as wide text (`units`, shown by a window whatever the code
// page) and as the machine's bytes (`bytes`, for a box on a console). Returns 1
// for ok or yes, 0 for cancel (and for no in a yes/no box), 2 for no in a
// yes/no/cancel box.
int native_message_box(const std::string& title, std::u16string_view units,
                       std::string_view bytes, const std::string& dialog_type,
                       const std::string& icon, int default_button);

// A blocking open-file dialog; the chosen path as the system keeps it (more
// than one joined by "|" when `multi`), or nothing when it was cancelled.
// A letter the code page lacks comes as "?", and `whole` (when given) is
// then set false.
std::optional<std::string> native_open_file(const std::string& title,
                                            const std::string& initial_path,
                                            const std::vector<std::string>& patterns, bool multi,
                                            bool* whole = nullptr);

#endif
