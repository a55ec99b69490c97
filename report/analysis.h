// What the report finds in the bindings once they are read, before anything
// is written: the rows of each version in order with the commands bound to
// nothing, the conflicts, the differences between the versions, and the
// keys, axes and buttons that nothing uses.
#ifndef MALVET_REPORT_ANALYSIS_H
#define MALVET_REPORT_ANALYSIS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "report/bindings.h"
#include "report/texts.h"

// Sorts the first `n` keys of `list` (ascending when `qasc`), moving each
// item of `clist` with its key. Stable: equal keys keep their order.
template <typename T>
void my_sort_i_c(std::size_t n, std::vector<std::int32_t>& list, std::vector<T>& clist, bool qasc) {
  if (n > list.size()) n = list.size();
  if (n > clist.size()) n = clist.size();
  for (std::size_t m = n; m > 1; --m) {
    bool exchanged = false;
    for (std::size_t i = 1; i < m; ++i) {
      bool out_of_order = qasc ? list[i] < list[i - 1] : list[i] > list[i - 1];
      if (out_of_order) {
        std::swap(list[i], list[i - 1]);
        std::swap(clist[i], clist[i - 1]);
        exchanged = true;
      }
    }
    if (!exchanged) break;
  }
}

// Orders the bindings by command position, those of one command in the
// order they were read.
void sort_bindings(std::vector<Binding>& bindings);

// Adds a binding for every command of the table that nothing binds (while
// the version has room for rows), each traced on the console, then sorts
// the bindings.
void add_unbound_commands(const CommandTable& commands, const ReportTexts& texts,
                          std::vector<Binding>& bindings);

// The conflicts of one version, in the order of the rows they come from,
// with the counted tools of `tools`. An unrecognised key counts as a key.
std::vector<Conflict> find_conflicts(const std::vector<Binding>& bindings,
                                     const std::vector<ToolKeys>& tools, const ReportTexts& texts);

// "key A: Release tow, Pause, Palvik", for the console trace.
std::string conflict_line(const Conflict& conflict);

// The commands of version 2, in table order, whose namesake in version 3
// (the first, compared without regard to case) was last bound to another
// value; each traced on the console.
std::vector<Difference> find_differences(const CommandTable& v2, const VersionModel& read2,
                                         const CommandTable& v3, const VersionModel& read3);

// The entries of the scan-code table, in table order, that no version binds
// and no counted tool of `tools` takes, less those above 256 that stand for an
// extended key of another entry (128 more than its code).
std::vector<std::int32_t> unused_key_codes(const ScanCodeTable& keys,
                                           const std::vector<VersionModel>& versions,
                                           const std::vector<ToolKeys>& tools);

// The axes and buttons of the joystick `number` (from 1) that none of
// `versions` binds: of those it declares (at most axis 32 and button 512),
// axis 3 of the SideWinder Force Feedback 2 never. The reports ask it of
// both versions (what nothing uses); the reference card of each version
// alone (what that version leaves free).
FreeControls free_controls_of(const Joystick& joystick, std::int32_t number,
                              const std::vector<const VersionModel*>& versions);

// free_controls_of each joystick, over every version.
std::vector<FreeControls> free_controls(const std::vector<Joystick>& joysticks,
                                        const std::vector<VersionModel>& versions);

#endif
