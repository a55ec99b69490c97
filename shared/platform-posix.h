// What the POSIX stand-in's files share: the stand-in files (the registry,
// the joysticks, the programs running), read whole.
#ifndef MALVET_SHARED_PLATFORM_POSIX_H
#define MALVET_SHARED_PLATFORM_POSIX_H

#include <optional>
#include <string>

// The bytes of a stand-in file (kept until the file is read again); none
// when it can't be opened or read to its end. A run asks for some many
// times: they are read again only once the file changed (another file, its
// size or its times).
const std::string* stand_in_file(const char* name);

#endif
