// Tavlet: the key-assignment report of the Aerlon simulator's controls.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "report/tables.h"
#include "shared/install.h"
#include "shared/log.h"
#include "shared/messages.h"

namespace {

constexpr const char* title = "Tavlet (beta)";

}  // namespace

int main(int argc, char** argv) {
  // Installation.
  InstallationRecord inst00;
  if (check_aerlon_install(inst00, "") == 0) {
    std::string msg = "No Aerlon installation detected";
    std::int32_t msg_status = s_error;
    error_message_tit(msg_status, title, msg, false);
    log_message_f(msg);
    return 1;
  }
  get_active_aerlon_version(inst00);

  // Language: French by the user interface, unless "-EN" asks for English.
  bool qfr = IsLanguageFrench() != 0;
  if (argc == 2 && std::strcmp(argv[1], "-EN") == 0) qfr = false;
  std::printf(" %c %c %c\n", qfr ? 'T' : 'F', inst00.qv2 ? 'T' : 'F', inst00.qv3 ? 'T' : 'F');
  log_message_f("CREATE");

  // Tables.
  std::int32_t lmax = 0;
  if (inst00.qv2 && !read_cmd("CMD.txt", qfr, lmax, title)) return 1;
  if (inst00.qv3 && !read_cmd("CMD_A3.txt", qfr, lmax, title)) return 1;
  if (!read_scn(qfr, qfr ? "SCN_AZERTY_FR.txt" : "SCN_QWERTY.txt", title)) return 1;
  return 0;
}
