// The simulator's user files folder and its current pilot's folder, for one
// version, from the user's documents folder and the last pilot that the
// simulator recorded in the registry:
//   user files folder  <documents>\Aerlon\      (version 3: Aerlon3\)
//   pilot folder       <documents>\Aerlon\Pilots\<LastPlayer of Aerlon2>
//                      (version 3: Aerlon3\Pilots\<LastPlayer of Aerlon3>)
#ifndef MALVET_SHARED_PILOT_FOLDER_H
#define MALVET_SHARED_PILOT_FOLDER_H

#include <cstdint>
#include <string>
#include <string_view>

// The pilot's controls file in a pilot folder: the folder, trimmed, and this.
inline constexpr const char* controls_file = "\\controls.ini";

// `aerlonuserpath` selects the version on entry: exactly "3" for version 3,
// anything else for version 2. `qpilot` asks for the last pilot's folder
// rather than the user files folder. Returns 1 with the folder in
// `aerlonuserpath` (whole, up to 512 characters, even past the record's
// 256: the callers check that the file names they build from it fit), or 0 with `aerlonuserpath` as
// it came: the documents folder is not in the registry, or its value names an environment variable
// that is not set (reported in an error box) or can't be made out.
// `msgpltfldr` and `qconfirm` ask for a confirmation that is never given:
// the routine never asks the user; `qdocreg` is always true.
std::int32_t get_aerlon_user_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot,
                                  bool qdocreg, std::string& aerlonuserpath);

// get_aerlon_user_path with the documents folder taken from the registry.
std::int32_t get_aerlon_2_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot,
                               std::string& aerlonuserpath);

#endif
