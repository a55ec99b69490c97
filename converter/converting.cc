#include "converter/converting.h"

#include <memory>
#include <vector>

#include "shared/messages.h"

namespace {

// Tries at reading the source twice alike, while Aerlon 2 may write it.
constexpr int source_reads = 3;

// One pass over the source, telling `out` each line as it is made, the
// made lines' digest in `digest`; false when a read error stopped it.
bool one_pass(const LineOpener& source, const ConversionRules& rules, bool looked, Keeper& keeper,
              Listener& out, LineDigest& digest, Converted& done) {
  auto tell = [&](const std::vector<MergedLine>& lines) {
    for (const MergedLine& line : lines) {
      if (line.in_file()) ++done.lines;
      out.new_line(line);
    }
  };
  std::unique_ptr<LineSource> in = source();
  bool read = account_lines(*in, rules.k_v3, [&](SourceLine told, const ConvertedLine* made) {
    if (told.fate == Fate::carried && rules.renamed && rules.renamed(*told.v2, told.v3)) {
      told.fate = Fate::renamed;
    }
    out.source_line(told);
    if (told.fate != Fate::header) ++done.read;
    if (made == nullptr) return;
    if (!made->header) ++done.bindings;
    digest.add(made->text);
    if (!looked) keeper.look_at(*made);
    tell(rules.keeping ? keeper.take(*made)
                       : std::vector<MergedLine>{{MergedLine::Kind::converted, made->text}});
  });
  if (read && rules.keeping) tell(keeper.finish());
  return read;
}

}  // namespace

std::optional<Converted> make_new_file(const LineOpener& source, const ConversionRules& rules,
                                       Listener& out, const std::function<bool()>& again,
                                       PassFailure& failure) {
  const bool two_passes = rules.keeping && rules.old.own_bindings() > 0;
  for (int attempt = 0; attempt < source_reads; ++attempt) {
    Keeper keeper(rules.old.sections);
    LineDigest first, second;
    if (two_passes) {
      std::unique_ptr<LineSource> in = source();
      if (!convert_lines(*in, rules.k_v3, [&](const ConvertedLine& line) {
            first.add(line.text);
            keeper.look_at(line);
          })) {
        failure = PassFailure::read_error;
        return std::nullopt;
      }
    }
    if (attempt > 0 && !again()) {
      failure = PassFailure::stopped;
      return std::nullopt;
    }
    out.pass_started();
    Converted done;
    done.keeping = rules.keeping;
    if (!one_pass(source, rules, two_passes, keeper, out, second, done)) {
      failure = PassFailure::read_error;
      return std::nullopt;
    }
    if (two_passes && !(first == second)) continue;
    done.kept = keeper.kept();
    done.taken = keeper.taken();
    done.set_aside = keeper.set_aside();
    keeper.outcomes(rules.keeping, [&](const OldOutcome& outcome) { out.old_binding(outcome); });
    out.pass_done(done);
    return done;
  }
  failure = PassFailure::changed;
  return std::nullopt;
}

void NewFileLines::new_line(const MergedLine& line) {
  if (line.in_file()) writer_.write_line(line.text);
}

std::optional<Converted> write_conversion(Brin23Run& run, const std::string& ctrfile,
                                          const LineOpener& source, const ConversionRules& rules,
                                          const std::string& ctrfile_3, ReplacingWriter& writer,
                                          Listener& events) {
  const Brin23Words& w = run.words();
  NewFileLines file(writer);
  Events out;
  out.add(file);
  out.add(events);
  PassFailure failure = PassFailure::stopped;
  std::optional<Converted> done = make_new_file(
      source, rules, out, [&] { return writer.open(ctrfile_3); }, failure);
  if (done) return done;
  if (failure == PassFailure::stopped) {
    run.stop_with(run.output_error(ctrfile_3));
  } else if (failure == PassFailure::read_error) {
    run.stop_with(Brin23Run::named(
        ctrfile, w.shared->error_opening + input_refusal_line(*w.shared, last_file_refusal())));
  } else {
    run.stop_with(Brin23Run::named(ctrfile, w.changed_while_read));
  }
  return std::nullopt;
}
