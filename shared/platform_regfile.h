// Values of a registry export file (.reg), the format that the Windows
// registry editor writes and reads: the POSIX stand-in's registry.
//
// The file begins with "Windows Registry Editor Version 5.00" (UTF-16LE with a
// byte-order mark as the editor writes it, or single-byte text) or with
// "REGEDIT4". Key lines are "[HKEY_CURRENT_USER\Software\Aerlon3]"; value
// lines "Name"="text" (escapes \\ and \"), @= for the default value,
// "Name"=hex:40,1a (binary), "Name"=hex(2):25,00 (expandable string, UTF-16LE
// in a 5.00 file), "Name"=dword:0000000c; a value line ending in "\" goes on
// in the next line and ";" begins a comment line.
#ifndef MALVET_SHARED_PLATFORM_REGFILE_H
#define MALVET_SHARED_PLATFORM_REGFILE_H

#include <optional>
#include <string>
#include <string_view>

// The bytes of the value `name` ("" or "@" for the default value) of the key
// `root`\`subkey` in the export `file` (its raw bytes). Key and value names
// compare without regard to case and a trailing "\" of a key is ignored. A
// string comes back as single-byte text of the machine's code page with its
// terminating NUL (a letter of a UTF-16 export that the code page lacks as
// "?", and `whole`, when given, then false), binary data as its bytes, a
// dword as its four bytes, lowest first. The last line that sets a value
// wins. Nothing when the file is not a registry export or does not hold the
// value.
std::optional<std::string> find_reg_value(std::string_view file, std::string_view root,
                                          std::string_view subkey, std::string_view name,
                                          bool* whole = nullptr);

#endif
