// The source converted into the new version-3 file, line by line, with the
// old file's own bindings kept among its lines when asked: every line is
// told as it is made, to the new file and to every output, and nothing of
// the source is held.
#ifndef MALVET_CONVERTER_CONVERTING_H
#define MALVET_CONVERTER_CONVERTING_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "converter/brin23_run.h"
#include "converter/conversion.h"
#include "converter/events.h"
#include "converter/keep.h"
#include "shared/textfile.h"

// What a conversion goes by: the table, the old version-3 file, whether it
// keeps that file's own bindings, and which carried commands have another
// name in version 3 (nothing known of names: none).
struct ConversionRules {
  const CommandMap& k_v3;
  const OldFile& old;
  bool keeping = false;
  std::function<bool(std::int32_t v2, std::int32_t v3)> renamed;
};

// The lines of the new file, made from the source (opened anew by `source`
// at each pass) and told to `out`: what each line of the source became,
// each line of the new file, and once the pass is over, what it made and
// each of the old file's own bindings. When the old file's own bindings are
// kept, the source is first gone over for what its bindings take, and the
// second pass counts only when it read what the first did (Aerlon 2 may
// write the file meanwhile): each try starts with pass_started(), and
// `again` is asked to start the new file anew before it (false: stop).
// Nothing when the source could not be read to its end, changed at each of
// a few tries, or `again` said stop: `failure` tells which.
enum class PassFailure { read_error, changed, stopped };
std::optional<Converted> make_new_file(const LineOpener& source, const ConversionRules& rules,
                                       Listener& out, const std::function<bool()>& again,
                                       PassFailure& failure);

// The lines of the new file that carries the lines told to it: each line
// but those left out as taken.
class NewFileLines : public Listener {
 public:
  explicit NewFileLines(ReplacingWriter& writer) : writer_(writer) {}
  void new_line(const MergedLine& line) override;

 private:
  ReplacingWriter& writer_;
};

// 11-13. Converts `ctrfile` into `writer` (open on `ctrfile_3`), telling
// `events` as make_new_file does. Nothing after the box that stopped the
// run: the source changed at each of a few tries, or could not be read to
// its end.
std::optional<Converted> write_conversion(Brin23Run& run, const std::string& ctrfile,
                                          const LineOpener& source, const ConversionRules& rules,
                                          const std::string& ctrfile_3, ReplacingWriter& writer,
                                          Listener& events);

#endif
