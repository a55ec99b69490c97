// How the Win32 layer decides what Windows' answers mean, as plain functions
// of the numbers Windows gives, so that the tests check them on any system:
// why a file step was refused, which leftover may be removed, where UAC
// keeps a program's writes to Program Files.
#ifndef MALVET_SHARED_WINDOWS_RULES_H
#define MALVET_SHARED_WINDOWS_RULES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/platform.h"

namespace windows_rules {

// The Windows numbers these rules read (winerror.h, winnt.h).
inline constexpr std::uint32_t error_access_denied = 5;
inline constexpr std::uint32_t error_sharing_violation = 32;
inline constexpr std::uint32_t error_lock_violation = 33;
inline constexpr std::uint32_t invalid_attributes = 0xFFFFFFFF;
inline constexpr std::uint32_t attribute_read_only = 0x1;
inline constexpr std::uint32_t attribute_hidden = 0x2;
inline constexpr std::uint32_t attribute_system = 0x4;
inline constexpr std::uint32_t attribute_directory = 0x10;
inline constexpr std::uint32_t attribute_reparse_point = 0x400;
inline constexpr std::uint32_t reparse_tag_name_surrogate = 0x20000000;
inline constexpr std::uint32_t wc_err_invalid_chars = 0x80;
inline constexpr std::uint32_t wc_no_best_fit_chars = 0x400;
inline constexpr std::uint32_t code_page_utf8 = 65001;

// Why a file step that failed with `error` was refused, the file having
// `attributes` (invalid_attributes when there is none): held by another
// program, read-only, access denied to a file that is not or to a name not
// yet taken (ransomware protection, an antivirus), not delivered by OneDrive
// (the ERROR_CLOUD_FILE_* errors) or the network (53, 59, 64, 67), or none
// of these (a folder in the file's place, another error).
FileRefusal refusal_of(std::uint32_t error, std::uint32_t attributes);

// True when what stands under a passing name of the programs' own may be
// removed as a leftover of an earlier run: a file, also one that OneDrive
// turned into a cloud placeholder (a reparse point that names nothing else);
// never a folder, a link or a junction (name-surrogate reparse points).
bool leftover_removable(std::uint32_t attributes, std::uint32_t reparse_tag);

// True for a file that the command interpreter's COPY and DIR pass over.
bool hidden_from_the_interpreter(std::uint32_t attributes);

// Where UAC's file virtualization keeps the writes of a program that is
// not elevated to a file under Program Files: the same path under
// "<LOCALAPPDATA>\VirtualStore", without its drive. Nothing when `path` (in
// full) lies under none of `program_files` folders or a folder is unknown.
std::optional<std::string> virtual_store_path(std::string_view path,
                                              const std::vector<std::string>& program_files,
                                              std::string_view local_app_data);

// How WideCharToMultiByte is asked to turn a name into the code page
// `code_page`, and how a name that lost letters is told. Most code pages
// take WC_NO_BEST_FIT_CHARS and the default character "?", whose use tells
// a lost letter (never a look-alike one). Those that refuse both
// (documented; the call fails with them, and every name would be "????"):
// UTF-8 and GB18030 take only WC_ERR_INVALID_CHARS, the call's failure
// telling a name that can't be held whole; UTF-7, ISO-2022 (50220-50229),
// ISCII (57002-57011) and Symbol (42) take no flag, a name turned back
// telling whether it is whole.
struct Narrowing {
  enum class Told { by_default_character, by_failure, by_turning_back };
  std::uint32_t flags;
  Told told;
};
Narrowing narrowing(std::uint32_t code_page);

// True when `byte` begins a letter of two bytes in the double-byte code
// page `code_page` (Japanese 932, Chinese 936 and 950, Korean 949 and
// 1361): the byte after it is that letter's second, "\" and "/" included.
bool is_lead_byte(std::uint32_t code_page, unsigned char byte);

// How a document is opened without waiting ("start Controls.txt"): through
// the command interpreter; or by the shell with the wide full path when its
// path, as the code page holds it, is not whole (a folder named in letters
// the code page lacks: the narrow path names no file) or holds a "%" (which
// the interpreter would expand).
enum class Opener { interpreter, shell };
Opener document_opener(std::string_view full_path, bool whole);

// True when the machine's system code page, the registry's "ACP" value
// under HKLM\SYSTEM\CurrentControlSet\Control\Nls\CodePage, is UTF-8 (Windows
// 11's "Beta: Use Unicode UTF-8"): Notepad and spreadsheets then read a
// text file without a byte-order mark as UTF-8, whatever code page the
// program itself was given.
bool system_code_page_is_utf8(std::string_view acp);

// The language identifier of a keyboard layout by its name
// (GetKeyboardLayoutNameW: eight hexadecimal digits, "00000407", "0001040C"
// for a layout's variant): its low 16 bits; nothing for another name.
std::optional<std::uint16_t> layout_of_name(std::string_view name);

}  // namespace windows_rules

#endif
