#include "shared/install.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shared/console.h"
#include "shared/limits.h"
#include "shared/log.h"
#include "shared/messages.h"
#include "shared/pilot_folder.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

constexpr std::size_t notice_capacity = 200;
constexpr std::size_t sim_log_capacity = 132;
constexpr int sim_log_lines = 6;
constexpr std::string_view version_tag = "Aerlon version:";
constexpr const char* executable = "\\Aerlon.exe";
constexpr const char* executable_name = "Aerlon.exe";
constexpr const char* sim_log = "\\Logs\\Logfile.txt";
constexpr const char* flight_plan = "\\FlightPlan.fpl";

// The major version stated by the simulator's log, 0 when it states none;
// `unreadable` tells a log that is there and could not be opened or read.
std::int32_t logged_version(const std::string& log_name, bool& unreadable) {
  LineReader in(log_name, sim_log_capacity);
  unreadable = false;
  for (int i = 0; i < sim_log_lines; ++i) {
    std::optional<std::string> line = in.next();
    if (!line) {
      unreadable = in.failed() && file_exists(log_name);
      break;
    }
    if (line->compare(0, version_tag.size(), version_tag) != 0) continue;
    std::optional<std::int32_t> number =
        read_whole_number(std::string_view(*line).substr(version_tag.size()));
    return number ? *number / 1000 : 0;
  }
  return 0;
}

// The simulator's log "<installation>\Logs\Logfile.txt", or the copy that
// Windows keeps of it in the user's VirtualStore when the installation lies
// under Program Files and the simulator, not elevated, wrote its log there:
// whichever was written last.
std::string newest_sim_log(const std::string& log_name) {
  std::optional<std::string> copy = virtual_store_copy(log_name);
  if (!copy || !file_exists(*copy)) return log_name;
  std::optional<std::int64_t> here = file_modified_time(log_name);
  std::optional<std::int64_t> there = file_modified_time(*copy);
  if (here && (!there || *here >= *there)) return log_name;
  console_printf(" %s\n", copy->c_str());
  return *copy;
}

// Whether version `nc` is installed. One whose log beside Aerlon.exe can't
// be read is not, and is noted: the reports say why it is left out.
bool confirmed(std::int32_t nc, std::string& instpath, InstallationRecord& inst) {
  bool log_unreadable = false;
  std::int32_t version = get_aerlon_inst_dir(nc, instpath, false, &log_unreadable);
  bool there = file_exists(trim(instpath) + executable);
  if (log_unreadable && there) {
    std::string log_name = cut(trim(instpath) + sim_log, path_capacity);
    inst.unreadable_logs.emplace_back(nc, log_name);
    log_message_f("Aerlon " + std::to_string(nc) + " left out: " + log_name + " could not be read");
  }
  return version == nc && there;
}

// The registry key of version `nc`'s installation.
std::string install_key(std::int32_t nc) { return "SOFTWARE\\Aerlon" + std::to_string(nc) + "\\"; }

// A full folder name without its final "\", for comparing.
std::string folder_for_comparing(const std::string& folder) {
  std::string full = full_path_name(folder);
  while (full.size() > 1 && (full.back() == '\\' || full.back() == '/')) full.pop_back();
  return full;
}

void set_active(InstallationRecord& inst, std::int32_t version) {
  inst.arlnvers = version;
  inst.arlnrootpath = version == 2 ? inst.rootpath2 : inst.rootpath3;
  inst.pilot_path() = version == 2 ? inst.pilpath2 : inst.pilpath3;
  inst.arlninstpath = version == 2 ? inst.instpath2 : inst.instpath3;
}

}  // namespace

std::int32_t get_aerlon_inst_dir(std::int32_t nc, std::string& path, bool silent,
                                 bool* log_unreadable) {
  if (log_unreadable != nullptr) *log_unreadable = false;
  if (nc != 2 && nc != 3) {
    console_printf(" %d\n", nc);
    console_printf(" get_aerlon_inst_dir : incorrect Aerlon version\n");
    std::exit(EXIT_FAILURE);
  }
  std::string key = install_key(nc);
  std::string value;
  std::int32_t len = 0;
  std::int32_t status = RdUsrReg(key, "InstallDir", value, len, ValueUse::path);
  if (status != 0) {
    console_printf(" %d\n", status);
    path.clear();
    if (silent) return 0;
    std::string notice =
        cut("*** Aerlon" + std::to_string(nc) + " installation not detected on this computer ***",
            notice_capacity);
    std::int32_t msg_status = s_info;
    error_message(msg_status, notice, true);
    return 0;
  }
  path = strcpy_c2f(value.c_str(), 0, path_capacity);
  std::string log_name = cut(trim(path) + sim_log, path_capacity);
  console_printf(" %s\n %s\n", trim(path).c_str(), log_name.c_str());
  bool unreadable = false;
  std::int32_t nvers = logged_version(newest_sim_log(log_name), unreadable);
  if (log_unreadable != nullptr) *log_unreadable = unreadable;
  console_printf(" %d\n", nvers);
  return nvers;
}

std::int32_t check_aerlon_install(InstallationRecord& inst, std::string_view msgpltfldr) {
  inst.unreadable_logs.clear();
  inst.qv2 = confirmed(2, inst.instpath2, inst);
  inst.qv3 = confirmed(3, inst.instpath3, inst);
  std::int32_t result = 0;
  if (inst.qv2) {
    log_message_f("Aerlon 2 install path: " + trim(inst.instpath2));
    inst.pilpath2.clear();
    get_aerlon_2_path(msgpltfldr, false, true, inst.pilpath2);
    inst.rootpath2.clear();
    get_aerlon_2_path(msgpltfldr, false, false, inst.rootpath2);
    result = 2;
  }
  if (inst.qv3) {
    log_message_f("Aerlon 3 install path: " + trim(inst.instpath3));
    inst.pilpath3 = "3";
    if (get_aerlon_2_path(msgpltfldr, false, true, inst.pilpath3) == 0) inst.pilpath3.clear();
    inst.rootpath3 = "3";
    if (get_aerlon_2_path(msgpltfldr, false, false, inst.rootpath3) == 0) inst.rootpath3.clear();
    result = 3;
  }
  if (inst.qv2 && inst.qv3) {
    set_active(inst, 3);
    inst.arlnvers = 0;
  } else if (inst.qv2) {
    set_active(inst, 2);
  } else if (inst.qv3) {
    set_active(inst, 3);
  }
  return result;
}

void get_active_aerlon_version(InstallationRecord& inst) {
  console_printf(" get_active_aerlon_version\n\n");
  std::int32_t active = inst.qv3 && !inst.qv2 ? 3 : 2;
  if (inst.qv2 && inst.qv3) {
    std::int64_t plan2 = modified_date(trim(inst.pilpath2) + flight_plan);
    std::int64_t plan3 = modified_date(trim(inst.pilpath3) + flight_plan);
    std::int64_t log2 = modified_date(newest_sim_log(trim(inst.instpath2) + sim_log));
    std::int64_t log3 = modified_date(newest_sim_log(trim(inst.instpath3) + sim_log));
    // The newest wins; at equal dates the one visited first.
    struct Candidate {
      std::int64_t date;
      std::int32_t version;
    };
    std::int64_t newest = 0;
    for (Candidate c :
         {Candidate{plan3, 3}, Candidate{plan2, 2}, Candidate{log3, 3}, Candidate{log2, 2}}) {
      if (c.date > newest) {
        newest = c.date;
        active = c.version;
      }
    }
  }
  set_active(inst, active);
  console_printf(" %d %s %s\n", inst.arlnvers, trim(inst.arlninstpath).c_str(),
                 trim(inst.pilot_path()).c_str());
}

std::optional<std::vector<std::string>> running_simulators() {
  std::optional<std::vector<std::string>> programs = running_programs();
  if (!programs) return std::nullopt;
  std::vector<std::string> found;
  for (const std::string& program : *programs) {
    std::size_t sep = program.find_last_of("\\/");
    std::string_view name =
        std::string_view(program).substr(sep == std::string::npos ? 0 : sep + 1);
    if (name.size() == std::strlen(executable_name) && case_blind_compare(name, executable_name)) {
      found.push_back(program);
    }
  }
  return found;
}

std::int32_t running_version(const std::string& program, const std::string& instpath2,
                             const std::string& instpath3) {
  std::size_t sep = program.find_last_of("\\/");
  if (sep == std::string::npos) return 0;
  std::string folder = folder_for_comparing(program.substr(0, sep + 1));
  for (auto [version, instpath] : {std::pair<std::int32_t, const std::string&>{2, instpath2},
                                   std::pair<std::int32_t, const std::string&>{3, instpath3}}) {
    std::string registered = trim(instpath);
    if (registered.empty()) continue;
    std::string candidate = folder_for_comparing(registered);
    if (same_file(candidate, folder)) return version;
    bool opened = folder_exists(candidate) && folder_exists(folder);
    if (!opened && candidate.size() == folder.size() && case_blind_compare(candidate, folder)) {
      return version;
    }
  }
  return 0;
}

std::string registered_install_folder(std::int32_t version) {
  RegistryRead read = read_registry_value(RegistryRoot::current_user, install_key(version),
                                          "InstallDir", registry_value_capacity);
  if (read.open_status != 0 || read.query_status != 0) return std::string();
  return strcpy_c2f(read.data.c_str(), 0, path_capacity);
}
