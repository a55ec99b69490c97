// What a Brin23 run holds from its start to its end, and the steps that the
// conversion and -undo share: the run's words and title, the installation,
// the pilot's files, the table of command numbers, the numbered backup and
// the boxes that stop a run.
#ifndef MALVET_CONVERTER_BRIN23_RUN_H
#define MALVET_CONVERTER_BRIN23_RUN_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "converter/conversion.h"
#include "converter/events.h"
#include "converter/keep.h"
#include "converter/read_back.h"
#include "converter/words.h"
#include "shared/install.h"
#include "shared/platform.h"
#include "shared/textfile.h"

// What the single argument asks for.
Mode mode_of(int argc, char** argv);

// A file name as its field keeps it, and whether it fitted there: a name cut
// at its field's end would name another file.
struct FileName {
  std::string name;
  bool fits = true;
};

class Brin23Run {
 public:
  Brin23Run() = default;
  // A run whose words are chosen already (start() chooses them).
  explicit Brin23Run(const Brin23Words& words) : words_(&words) {}

  // 1-3. The language, the simulator not running, the installation and the
  // log; false after the box that says why the run can't go on.
  bool start();

  const Brin23Words& words() const { return *words_; }
  const InstallationRecord& installation() const { return inst00_; }
  // The table of command numbers, as read_table opened it, and the folder
  // of the tables (with its final "\", empty for the working folder).
  const std::string& table_path() const { return table_path_; }
  const std::string& tables() const { return tables_; }

  // Shows an error box titled with the run's current title, with a last
  // line when a folder name lost letters to the code page; the run then
  // stops. Returns the run's exit status, 1.
  int stop_with(const MixedText& msg) const;

  // A name and the words that follow it: "<name>/not found".
  static MixedText named(const std::string& name, const std::string& words) {
    return {{name}, {words, true}};
  }

  // The box and the log line of a file `name` that did not read back as
  // written: `what` (after the name), the line that differs, `after` and
  // what became of it (`kept_as`, a file's name, or nothing). Returns 1.
  int stop_unread(const std::string& name, const std::string& what, const LineDifference& d,
                  const std::string& after, const std::string& kept_as) const;

  // The error of a target that can't be written, and why it was refused.
  MixedText output_error(const std::string& target, FileRefusal why = last_file_refusal()) const;

  // The controls.ini of a pilot folder, or the file chosen in a dialog when
  // the folder is not known (whose title is then the run's).
  FileName pilot_file(const std::string& folder, int version);

  // 4. The source: the file given on the command line, the version-3 file
  // with "-3", else the version-2 pilot's.
  FileName choose_source(int argc, char** argv, Mode mode);

  // 7-8 and 10. The source must be there; the table is read whole before
  // anything is written. Nothing after the box that stopped the run.
  std::optional<CommandMap> read_table(const FileName& source, const FileName& target);

  // The old version-3 file's headers and bindings, read whole: none when
  // there is no such file. When keeping, one that can't be read stops the
  // run (nothing then); else it is only not counted.
  std::optional<OldFile> read_old_file(const std::string& ctrfile_3, const CommandMap& k_v3,
                                       bool keeping);

  // 9. The numbered backup of the target, its steps told to `trace`: its
  // name, empty when there is no target yet; nothing after the box that
  // stopped the run.
  std::optional<std::string> back_up(const std::string& ctrfile_3, BackupTrace& trace);

  // 14. The new file put in the target's place; a target that would get no
  // line keeps its content. False after the box that stopped the run.
  bool put_in_place(ReplacingWriter& writer, const std::string& ctrfile_3);

 private:
  const Brin23Words* words_ = nullptr;
  std::string title_ = "Tavlet (beta)";  // a file dialog's title from the first on
  InstallationRecord inst00_;
  std::string tables_, table_path_;
};

#endif
