#include "shared/platform_listing.h"

#include <algorithm>
#include <cstdio>

CommandStatus write_listing(std::vector<ListedFile> files, const std::string& listing) {
  std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) {
    return a.time != b.time ? a.time > b.time : a.name < b.name;
  });
  CommandStatus status;
  std::FILE* out = open_file(listing, "wb");
  if (out == nullptr) {
    status.exit_status = 1;
    return status;
  }
  for (const ListedFile& f : files) std::fprintf(out, "%s\r\n", f.name.c_str());
  if (std::fclose(out) != 0 || files.empty()) status.exit_status = 1;
  return status;
}
