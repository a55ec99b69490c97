// Registry exports of any content.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "shared/platform_regfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view file(reinterpret_cast<const char*>(data), size);
  find_reg_value(file, "HKEY_CURRENT_USER", "SOFTWARE\\Aerlon3", "InstallDir");
  find_reg_value(file, "HKEY_CURRENT_USER", "K", "");
  find_reg_value(file, "HKEY_CLASSES_ROOT", "K\\", "@");
  return 0;
}
