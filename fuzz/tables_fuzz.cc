// Scan-code and command tables of any content.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "report/tables_reader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return prepare_fuzzing(); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  write_input("table.txt", data, size);
  std::optional<ScanCodeTable> keys =
      read_scn("*** File # cannot be opened  ***", "table.txt", "fuzz");
  if (!keys || keys->size() > maxkey) std::abort();
  for (const ScanCode& k : *keys) {
    if (k.name.size() > key_name_capacity) std::abort();
  }
  std::int32_t lmax = 0;
  std::optional<CommandTable> commands =
      read_cmd("table.txt", "*** Le fichier # ne peut pas \xEAtre ouvert  ***", lmax, "fuzz");
  if (!commands || commands->size() > maxcmd || lmax < 0 || lmax > 80) std::abort();
  for (const Command& c : *commands) {
    if (c.name.size() > command_name_capacity) std::abort();
  }
  return 0;
}
