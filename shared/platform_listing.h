// The folder listing that stands in for "DIR /TW /B /O-D" where the command
// interpreter is not used: shared by both platform implementations.
#ifndef MALVET_SHARED_PLATFORM_LISTING_H
#define MALVET_SHARED_PLATFORM_LISTING_H

#include <cstdint>
#include <string>
#include <vector>

#include "shared/platform.h"

struct ListedFile {
  std::string name;
  std::int64_t time;  // last write, in any unit that orders
};

// Writes the names into the listing file, made new as a passing file, newest
// first (equal times by name), one a CR LF line. The exit status is 1, as the
// interpreter's is, when nothing matched or the listing could not be made;
// the command status is 1 when it could not be made or written whole (a
// listing cut short is removed).
CommandStatus write_listing(std::vector<ListedFile> files, const std::string& listing);

#endif
