#include "converter/converting.h"

#include <memory>
#include <vector>

#include "shared/console.h"
#include "shared/messages.h"

namespace {

// Tries at reading the source twice alike, while Aerlon 2 may write it.
constexpr int source_reads = 3;

const std::string& console_mark(const Brin23Words& w, MergedLine::Kind kind) {
  static const std::string none;
  switch (kind) {
    case MergedLine::Kind::kept:
      return w.mark_kept;
    case MergedLine::Kind::taken:
      return w.mark_taken;
    case MergedLine::Kind::converted:
      break;
  }
  return none;
}

// One pass over the source into `writer`, its lines' digest in `digest`;
// false when a read error stopped it.
bool one_pass(const LineOpener& source, const CommandMap& k_v3, bool keeping, bool looked,
              Keeper& keeper, const Brin23Words& w, ReplacingWriter& writer, LineDigest& digest,
              std::size_t& bindings) {
  auto write = [&](const std::vector<MergedLine>& lines) {
    for (const MergedLine& line : lines) {
      if (!keeping && line.kind != MergedLine::Kind::converted) continue;
      if (line.kind != MergedLine::Kind::taken) writer.write_line(line.text);
      console_parts({{" "}, {line.text}, {console_mark(w, line.kind), true}, {"\n"}});
    }
  };
  std::unique_ptr<LineSource> in = source();
  bool read = convert_lines(*in, k_v3, [&](const ConvertedLine& line) {
    if (!line.header) ++bindings;
    digest.add(line.text);
    if (!looked) keeper.look_at(line);
    write(keeping ? keeper.take(line)
                  : std::vector<MergedLine>{{MergedLine::Kind::converted, line.text}});
  });
  if (read && keeping) write(keeper.finish());
  return read;
}

}  // namespace

std::optional<Converted> write_conversion(Brin23Run& run, const std::string& ctrfile,
                                          const LineOpener& source, const CommandMap& k_v3,
                                          bool keeping, const OldFile& old,
                                          const std::string& ctrfile_3, ReplacingWriter& writer) {
  const Brin23Words& w = run.words();
  const bool two_passes = keeping && old.own_bindings() > 0;
  for (int attempt = 0; attempt < source_reads; ++attempt) {
    Keeper keeper(old.sections);
    LineDigest first, second;
    if (two_passes) {
      std::unique_ptr<LineSource> in = source();
      if (!convert_lines(*in, k_v3, [&](const ConvertedLine& line) {
            first.add(line.text);
            keeper.look_at(line);
          })) {
        run.stop_with(Brin23Run::named(ctrfile, w.shared->error_opening));
        return std::nullopt;
      }
    }
    if (attempt > 0 && !writer.open(ctrfile_3)) {
      run.stop_with(run.output_error(ctrfile_3));
      return std::nullopt;
    }
    Converted done;
    if (!one_pass(source, k_v3, keeping, two_passes, keeper, w, writer, second, done.bindings)) {
      run.stop_with(Brin23Run::named(
          ctrfile, w.shared->error_opening + input_refusal_line(*w.shared, last_file_refusal())));
      return std::nullopt;
    }
    if (two_passes && !(first == second)) continue;
    done.kept = keeper.kept();
    done.taken = keeper.taken();
    if (keeping) {
      std::string counts = count_text(w.kept, done.kept);
      if (done.taken > 0) counts += count_text(w.taken, done.taken);
      console_parts({{" "}, {counts, true}, {"\n"}});
    }
    return done;
  }
  run.stop_with(Brin23Run::named(ctrfile, w.changed_while_read));
  return std::nullopt;
}
