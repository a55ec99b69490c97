// What a conversion keeps of the version-3 file it replaces (Brin23 -keep):
// the bindings of commands that only version 3 has, and the sections of
// devices that only the version-3 file knows (a stick bought since).
#ifndef MALVET_CONVERTER_KEEP_H
#define MALVET_CONVERTER_KEEP_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "converter/conversion.h"
#include "shared/controls_grammar.h"
#include "shared/textfile.h"

// The headers and bindings that the old file may hold for keeping: a real
// controls.ini holds a few hundred; beyond this one is not kept at all.
inline constexpr std::size_t max_old_lines = 65536;

// A binding of the old file whose key reads as a number.
struct OldBinding {
  std::string line;         // as the conversion writes a binding
  std::int32_t number = 0;  // the command
  std::string value;        // trimmed
  bool own = false;         // a command that only version 3 has
};

// A section of the old file, header trimmed. Bindings before the first
// header belong to none and are not kept.
struct OldSection {
  std::string header;
  std::vector<OldBinding> bindings;
};

struct OldFile {
  enum class Read { whole, failed, too_long };
  Read read = Read::whole;  // failed: a read error; too_long: over max_old_lines
  std::vector<OldSection> sections;

  // The bindings of commands that only version 3 has; every binding.
  std::size_t own_bindings() const;
  std::size_t bindings() const;
};

// Reads the old version-3 file to its end: its headers and the bindings
// whose key reads as a number; blank lines and every other line are left
// out, as the conversion leaves them out of the source.
OldFile read_old_file(LineSource& old, const VersionThreeOnly& own);

// The key that headers naming one section share: the section's name in
// capitals (see section_name).
std::string section_key(std::string_view header);

// One of the old file's own bindings (of a command only version 3 has, or
// of a section only that file has), kept or left out.
struct OldOutcome {
  const OldSection* section = nullptr;
  const OldBinding* binding = nullptr;
  bool kept = false;
  // Left out by -keep as taken: the version-3 command whose converted
  // binding now has its key, button or axis.
  std::optional<std::int32_t> owner;
  bool keyboard = false;  // read as a key of the new file's keyboard section
  // Left out by -keep so that the version-2 file's keyboard section stays
  // the one the report reads as the keyboard's.
  bool set_aside = false;
};

// A line of the new file, or a line of the old one left out: because what
// it takes is bound anew in its section (taken), or because keeping it
// would make its device pass for the keyboard (set aside).
struct MergedLine {
  enum class Kind { converted, kept, taken, set_aside };
  Kind kind;
  std::string text;
  bool in_file() const { return kind == Kind::converted || kind == Kind::kept; }
};

// Merges the old file's own bindings into the converted lines. After the
// converted bindings of a section whose header the old file has (its first
// one in the new file) come the old sections' bindings of version-3-only
// commands, in their old order, but for those that take a key, button or
// axis that a converted binding of any section of that header takes; after
// the last line, the old sections whose header the new file lacks, whole.
// What would make another section than the converted file's keyboard
// section hold the most commands of keys (3000..3999), and so pass for the
// keyboard, is set aside: a section's kept bindings, a section kept whole.
// Every converted line is first shown to look_at(); when the old file has
// bindings of its own, that is a pass of its own over the source, and
// take() is then given each line again.
class Keeper {
 public:
  explicit Keeper(const std::vector<OldSection>& old);

  // What the converted bindings of each section take, which headers the new
  // file has, and which section the report will read as the keyboard's (the
  // one with the most commands numbered 3000..3999, the first of equal ones).
  void look_at(const ConvertedLine& line);

  // The lines that the next converted line brings, in order: before a
  // header, what the section it ends keeps; then the line itself.
  std::vector<MergedLine> take(const ConvertedLine& line);

  // What the last section keeps, then the sections only the old file has.
  std::vector<MergedLine> finish();

  // Once every line was looked at: the bindings that the merge keeps, and
  // those it leaves out as taken or sets aside.
  std::size_t kept();
  std::size_t taken();
  std::size_t set_aside();

  // Once every line was looked at: each of the old file's own bindings in
  // that file's order, kept when `keeping` and not taken.
  void outcomes(bool keeping, const std::function<void(const OldOutcome&)>& each);

 private:
  // The old sections of one header, and what their own bindings take.
  struct Group {
    std::vector<std::size_t> sections;
    std::vector<const OldBinding*> candidates;
    // The command of the converted binding that took each candidate's
    // input; nothing for one not taken.
    std::vector<std::optional<std::int32_t>> taken_by;
    // What some candidate takes, read as the keyboard's (every value) and as
    // a joystick's (buttons, axes); and which of these a converted binding
    // takes too, with the first such binding's command.
    std::unordered_set<std::int64_t> keys, buttons, axes;
    std::unordered_map<std::int64_t, std::int32_t> keys_bound, buttons_bound, axes_bound;
    bool in_new_file = false;  // its header is in the new file
    bool keyboard = false;     // the new file's keyboard section
    bool set_aside = false;    // what it keeps would make it pass for the keyboard
    std::optional<std::size_t> first_section;  // its first section in the new file
    bool merged = false;       // its candidates have come in take()
  };

  Group* group_of(const std::string& header);
  void settle();
  // Sets aside what would make a section pass for the keyboard.
  void keep_the_keyboard();
  void end_section(std::vector<MergedLine>& out);

  const std::vector<OldSection>& old_;
  std::vector<Group> groups_;
  std::unordered_map<std::string, std::size_t> group_index_;  // by section_key
  // look_at(): the section it is in, and the keyboard's choice.
  Group* looking_ = nullptr;
  KeyboardSection keyboard_;
  std::string best_key_, looking_key_;
  std::vector<std::int64_t> key_commands_;  // each section's converted ones
  bool settled_ = false;
  // take(): the group whose candidates the current section keeps.
  Group* current_ = nullptr;
};

#endif
