#include "shared/system.h"

#include <cstdio>

#include "shared/console.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/windows_rules.h"

namespace {

std::int32_t read_registry(RegistryRoot root, std::string_view subkey, std::string_view name,
                           std::string& outval, std::int32_t& len, ValueUse use, Trace trace) {
  std::string key(subkey);
  std::string value_name(name);
  trace_printf(trace, "Subkey,name : %s %s \n", key.c_str(), value_name.c_str());
  RegistryRead read = read_registry_value(root, key, value_name, registry_value_capacity);
  if (root == RegistryRoot::current_user) {
    trace_printf(trace, "USER Open Status : %d\n", read.open_status);
  } else if (root == RegistryRoot::local_machine) {
    trace_printf(trace, "MACHINE Open Status : %d\n", read.open_status);
  }
  if (read.open_status != 0) return read.open_status;
  trace_printf(trace, "Query Status, Length : %d %d\n", read.query_status,
               static_cast<int>(read.data.size()));
  if (read.query_status == 0) {
    trace_printf(trace, "value : %s \n", read.data.c_str());
    len = static_cast<std::int32_t>(read.data.size());
    outval = read.data;
    if (use == ValueUse::path) note_machine_name(read.whole);
  }
  trace_printf(trace, "Status : %d\n", read.close_status);
  if (read.query_status != 0) return read.query_status;
  return read.close_status;
}

}  // namespace

std::int32_t RdUsrReg(std::string_view subkey, std::string_view name, std::string& outval,
                      std::int32_t& len, ValueUse use, Trace trace) {
  RegistryRoot root = len < 0 ? RegistryRoot::classes_root : RegistryRoot::current_user;
  return read_registry(root, subkey, name, outval, len, use, trace);
}

std::int32_t RdMachineReg(std::string_view subkey, std::string_view name, std::string& outval,
                          std::int32_t& len, Trace trace) {
  return read_registry(RegistryRoot::local_machine, subkey, name, outval, len, ValueUse::text,
                       trace);
}

std::int32_t MyGetEnv(std::string_view name, std::string& value, std::size_t len, ValueUse use) {
  bool whole = true;
  std::optional<std::string> text = environment_variable(std::string(name), &whole);
  if (use == ValueUse::path) note_machine_name(whole);
  if (!text || text->empty()) return 0;
  if (text->size() + 1 > len) return static_cast<std::int32_t>(text->size() + 1);
  value = *text;
  return static_cast<std::int32_t>(text->size());
}

namespace {

bool all_names_whole = true;

}  // namespace

void note_machine_name(bool whole) {
  if (!whole) all_names_whole = false;
}

std::string lost_letters_note(const SharedWords& words) {
  return all_names_whole ? std::string() : words.lost_letters;
}

bool system_code_page_is_utf8(Trace trace) {
  std::string acp;
  std::int32_t len = 0;
  if (RdMachineReg("SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP", acp, len, trace) !=
      0) {
    return false;
  }
  return windows_rules::system_code_page_is_utf8(acp.c_str());
}

std::string tables_folder(std::initializer_list<const char*> names) {
  auto holds_any = [&](const std::string& folder) {
    for (const char* name : names) {
      if (file_exists(folder + name)) return true;
    }
    return false;
  };
  std::string folder;
  if (!holds_any(folder)) {
    bool whole = true;
    std::optional<std::string> beside = program_folder(&whole);
    // A folder that lost letters to the code page holds none that can be
    // read, and the run's box says why.
    note_machine_name(whole);
    if (beside && holds_any(*beside)) folder = *beside;
  }
  console_printf(" tables: %s\n", folder.empty() ? working_folder().c_str() : folder.c_str());
  return folder;
}

std::int64_t modified_date(std::string_view infile) {
  std::string path = trim(infile);
  if (!file_exists(path)) return -1;
  std::optional<std::int64_t> time = file_modified_time(path);
  if (!time) return -1;
  console_printf(" %lld\n", static_cast<long long>(*time));
  return *time;
}
