// Holds a file open as another program would, until told to let go: Excel
// keeps a CSV open denying others the right to write it; antivirus or
// OneDrive hold a fresh file without letting it be replaced.
//   hold_file FILE MODE READY RELEASE
// MODE "write": others may only read the file; "replace": others may read
// and write it but neither delete nor replace it; "all": others may not
// even read it. READY is made once the file
// is held; the file is let go when RELEASE exists (after two minutes at
// most). Exit status 0, or 1 when the file could not be opened.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  DWORD share = std::strcmp(argv[2], "write") == 0 ? FILE_SHARE_READ
                : std::strcmp(argv[2], "all") == 0 ? 0
                                                   : FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE held = CreateFileA(argv[1], GENERIC_READ, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 1;
  HANDLE ready = CreateFileA(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  for (int i = 0; i < 2400 && GetFileAttributesA(argv[4]) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(50);
  }
  CloseHandle(held);
  return 0;
}
