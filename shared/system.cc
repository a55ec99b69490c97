#include "shared/system.h"

#include <cstdio>

#include "shared/console.h"
#include "shared/platform.h"
#include "shared/text.h"

std::int32_t RdUsrReg(std::string_view subkey, std::string_view name, std::string& outval,
                      std::int32_t& len) {
  std::string key(subkey);
  std::string value_name(name);
  console_printf("Subkey,name : %s %s \n", key.c_str(), value_name.c_str());
  RegistryRead read = read_registry_value(len < 0, key, value_name, registry_value_capacity);
  if (len >= 0) console_printf("USER Open Status : %d\n", read.open_status);
  if (read.open_status != 0) return read.open_status;
  console_printf("Query Status, Length : %d %d\n", read.query_status,
                 static_cast<int>(read.data.size()));
  if (read.query_status == 0) {
    console_printf("value : %s \n", read.data.c_str());
    len = static_cast<std::int32_t>(read.data.size());
    outval = read.data;
  }
  console_printf("Status : %d\n", read.close_status);
  if (read.query_status != 0) return read.query_status;
  return read.close_status;
}

std::int32_t MyGetEnv(std::string_view name, std::string& value, std::size_t len) {
  std::optional<std::string> text = environment_variable(std::string(name));
  if (!text || text->empty()) return 0;
  if (text->size() + 1 > len) return static_cast<std::int32_t>(text->size() + 1);
  value = *text;
  return static_cast<std::int32_t>(text->size());
}

std::int64_t modified_date(std::string_view infile) {
  std::string path = trim(infile);
  if (!file_exists(path)) return -1;
  std::optional<std::int64_t> time = file_modified_time(path);
  if (!time) return -1;
  console_printf(" %lld\n", static_cast<long long>(*time));
  return *time;
}
