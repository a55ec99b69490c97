// Tavlet: the key-assignment report of the Aerlon simulator's controls.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "report/tables.h"
#include "shared/messages.h"

namespace {

constexpr const char* title = "Tavlet (beta)";

}  // namespace

int main(int argc, char** argv) {
  // Language: French by the user interface, unless "-EN" asks for English.
  bool qfr = IsLanguageFrench() != 0;
  if (argc == 2 && std::strcmp(argv[1], "-EN") == 0) qfr = false;
  std::printf(" qfr %d\n", qfr ? 1 : 0);

  // Tables.
  std::int32_t lmax = 0;
  if (!read_cmd("CMD.txt", qfr, lmax, title)) return 1;
  if (!read_cmd("CMD_A3.txt", qfr, lmax, title)) return 1;
  if (!read_scn(qfr, qfr ? "SCN_AZERTY_FR.txt" : "SCN_QWERTY.txt", title)) return 1;
  return 0;
}
