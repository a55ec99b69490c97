// What the files of the Win32 implementation of the platform layer share:
// <windows.h>, and the helpers each of them needs.
#ifndef MALVET_SHARED_PLATFORM_WIN32_H
#define MALVET_SHARED_PLATFORM_WIN32_H

#include <windows.h>

#include <string>
#include <string_view>

#include "shared/platform.h"

// The longest path the programs ask Windows for: a long OneDrive path fits.
inline constexpr DWORD long_path_capacity = MAX_PATH * 4;

namespace win32 {

// Text of the code page as wide text, and back (`whole`, when given, set to
// whether every character was held).
std::wstring wide(std::string_view text);
std::string narrow(std::wstring_view text, bool* whole);

// True for the errors of a file that another program holds.
bool is_hold(DWORD error);

// Notes why a step on `path` failed with `error`, for last_file_refusal();
// set_refusal notes it as given.
void note_refusal(const std::string& path, DWORD error);
void set_refusal(FileRefusal refusal);

}  // namespace win32

#endif
