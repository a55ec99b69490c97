// The source converted into the new version-3 file, line by line, with the
// old file's own bindings kept among its lines when asked, each line shown
// on the console as it is written: nothing of the source is held.
#ifndef MALVET_CONVERTER_CONVERTING_H
#define MALVET_CONVERTER_CONVERTING_H

#include <cstddef>
#include <optional>
#include <string>

#include "converter/brin23_run.h"
#include "converter/conversion.h"
#include "converter/keep.h"
#include "shared/textfile.h"

// What the conversion wrote.
struct Converted {
  std::size_t bindings = 0;  // converted from the source
  std::size_t kept = 0;      // of the old file's own: kept, or that -keep would keep
  std::size_t taken = 0;     // of the old file's own: left out as bound anew
};

// 11-13. Converts `ctrfile`, opened anew by `source` at each pass, into
// `writer` (open on `ctrfile_3`), keeping the bindings of `old` with
// `keeping`. When the old file's own bindings are kept, the source is first
// gone over for what its bindings take, and the second pass counts only
// when it converted what the first did (Aerlon 2 may write the file
// meanwhile). Nothing after the box that stopped the run: the source
// changed at each of a few tries, or could not be read to its end.
std::optional<Converted> write_conversion(Brin23Run& run, const std::string& ctrfile,
                                          const LineOpener& source, const CommandMap& k_v3,
                                          bool keeping, const OldFile& old,
                                          const std::string& ctrfile_3, ReplacingWriter& writer);

#endif
