#include "shared/platform_listing.h"

#include <algorithm>
#include <cstdio>

CommandStatus write_listing(std::vector<ListedFile> files, const std::string& listing) {
  std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
    return a.time != b.time ? a.time > b.time : a.name < b.name;
  });
  CommandStatus status;
  std::FILE* out = create_passing_file(listing);
  if (out == nullptr) {
    status.exit_status = 1;
    status.command_status = 1;
    return status;
  }
  bool ok = true;
  for (const ListedFile& f : files) {
    if (std::fprintf(out, "%s\r\n", f.name.c_str()) < 0) ok = false;
  }
  if (std::fclose(out) != 0) ok = false;
  if (!ok) {
    delete_file(listing);
    status.command_status = 1;
  }
  if (!ok || files.empty()) status.exit_status = 1;
  return status;
}
