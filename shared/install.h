// Which versions of the simulator are installed for the current user, where,
// with which user files and pilot folders, and which was used last.
//
// A version counts as installed only when the registry names its
// installation folder (HKEY_CURRENT_USER\SOFTWARE\Aerlon2 or Aerlon3, value
// InstallDir), the simulator's log "Logs\Logfile.txt" there states that major
// version within its first six lines ("Aerlon version: 3105"), and
// "Aerlon.exe" exists there.
#ifndef MALVET_SHARED_INSTALL_H
#define MALVET_SHARED_INSTALL_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct InstallationRecord {
  std::string aerlon_1_path;  // not filled by discovery
  std::string arlnpilpath;    // pilot folder of the active version
  std::string instpath1;      // not filled by discovery
  std::string instpath2;      // installation folder of version 2
  std::string instpath3;      // installation folder of version 3
  std::string rootpath2;      // user files folder of version 2
  std::string rootpath3;      // user files folder of version 3
  std::string pilpath2;       // current pilot's folder of version 2 (never cut)
  std::string pilpath3;       // current pilot's folder of version 3 (never cut)
  std::string arlninstpath;   // installation folder of the active version
  std::string arlnrootpath;   // user files folder of the active version
  std::int32_t iarln = 0;     // not filled by discovery
  std::int32_t arlnvers = 0;  // the active version: 2, 3, or 0 while open
  bool qv1 = false;           // not set by discovery
  bool qv2 = false;           // version 2 is installed
  bool qv3 = false;           // version 3 is installed
  // The versions left out because the simulator's log, there beside
  // Aerlon.exe, could not be opened or read (held by the running simulator,
  // a read error): each with that log's name.
  std::vector<std::pair<std::int32_t, std::string>> unreadable_logs;

  // The second names of two fields.
  std::string& pilot_path() { return arlnpilpath; }
  std::int32_t& aerlon_version() { return arlnvers; }
};

// Finds the installed versions and fills the record: the flags, the
// installation, user files and pilot folders of each installed version (a
// folder that can't be found stays blank), and the active fields (from
// version 3 with `arlnvers` 0 when both are installed). Returns 0 when no
// version is installed, 2 when only version 2 is, 3 when version 3 is.
std::int32_t check_aerlon_install(InstallationRecord& inst, std::string_view msgpltfldr);

// Settles the active version after check_aerlon_install found one or both:
// of two installed versions the one whose pilot's FlightPlan.fpl or whose
// simulator log was written last (version 2 when none of them exists).
void get_active_aerlon_version(InstallationRecord& inst);

// The installation folder of version `nc` (2 or 3) into `path`, blank when
// the registry has none (then, unless `silent`, a console notice says the
// version is not detected). Returns the major version that the simulator's
// log states, 0 when there is no log or no readable version line;
// `log_unreadable`, when given, tells a log that is there but could not be
// opened or read.
std::int32_t get_aerlon_inst_dir(std::int32_t nc, std::string& path, bool silent,
                                 bool* log_unreadable = nullptr);

// The simulators running: the programs named Aerlon.exe (letter case
// aside), each by the full path of its executable, or by that name alone
// when its path could not be read; nothing when the programs running can't
// be listed.
std::optional<std::vector<std::string>> running_simulators();

// The version whose installation folder (`instpath2`, `instpath3`, as the
// registry names them, blank for none) holds the running simulator
// `program`: 2 or 3; 0 for a name alone or another folder. Folders compare
// as files, whatever their spelling (a short 8.3 name, a link, a
// junction, a substituted drive), or, where one can't be opened, in full,
// letter case aside, as Windows names do.
std::int32_t running_version(const std::string& program, const std::string& instpath2,
                             const std::string& instpath3);

// The installation folder that the registry names for version 2 or 3, read
// without a trace on the console; blank when there is none.
std::string registered_install_folder(std::int32_t version);

#endif
