#include "shared/pilot_folder.h"

#include <cstdio>
#include <optional>

#include "shared/console.h"
#include "shared/limits.h"
#include "shared/messages.h"
#include "shared/system.h"
#include "shared/text.h"

namespace {

constexpr std::size_t documents_path_capacity = 512;
constexpr std::size_t player_capacity = 40;
constexpr std::size_t env_buffer = 512;
constexpr const char* documents_key =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\";

// True when the text between two "%" can name a variable: not empty, and no
// "\" in it (a folder of the path, not a name).
bool is_variable_name(std::string_view name) {
  return !name.empty() && name.find(fld_sep) == std::string_view::npos;
}

// Every %VARIABLE% of a value expanded, as Windows expands it: a "%" without
// a second one stands for itself, and so does the first "%" of a pair that
// encloses no name ("50%\%H%"), the scan going on from the second. Nothing
// after the box of a variable that is not set (or longer than its buffer).
std::optional<std::string> expand_variables(const std::string& path) {
  std::string expanded;
  for (std::size_t at = 0; at < path.size();) {
    std::size_t open = path.find('%', at);
    std::size_t close = open == std::string::npos ? open : path.find('%', open + 1);
    if (close == std::string::npos) {
      expanded += path.substr(at);
      break;
    }
    expanded += path.substr(at, open - at);
    std::string env = path.substr(open + 1, close - open - 1);
    if (!is_variable_name(env)) {
      expanded += "%" + env;
      at = close;
      continue;
    }
    console_printf(" ENV %s\n", env.c_str());
    std::string text;
    std::int32_t n = MyGetEnv(env, text, env_buffer, ValueUse::path);
    if (n <= 0 || static_cast<std::size_t>(n) >= env_buffer) {
      std::string msg = cut("Error getting environment variable/" + env, message_capacity);
      std::int32_t msg_status = s_error;
      error_message_tit(msg_status, "get_aerlon_user_path", msg, false);
      return std::nullopt;
    }
    expanded += text;
    at = close + 1;
  }
  return expanded;
}

// The documents folder, the registry's value expanded
// ("%HOMEDRIVE%%HOMEPATH%\Documents" on a redirected account). Empty when the
// value can't be read, or after the box of a variable that is not set.
std::string documents_folder() {
  std::string value;
  std::int32_t len = 0;
  std::int32_t status = RdUsrReg(documents_key, "Personal", value, len, ValueUse::path);
  console_printf(" %d %d\n", status, len);
  if (status != 0) {
    console_printf(
        " Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
        "Folders NOT READABLE\n");
    return std::string();
  }
  std::string path = strcpy_c2f(value.c_str(), 0, documents_path_capacity);
  console_printf(" path %s\n", path.c_str());
  if (path.find('%') == std::string::npos) return path;
  std::optional<std::string> expanded = expand_variables(path);
  if (!expanded) return std::string();
  path = trim(expanded->substr(0, documents_path_capacity));
  console_printf(" %d %s\n", static_cast<int>(path.size()), path.c_str());
  return path;
}

}  // namespace

std::int32_t get_aerlon_user_path(std::string_view /*msgpltfldr*/, bool qconfirm, bool qpilot,
                                  bool qdocreg, std::string& aerlonuserpath) {
  console_printf("\n\n\n\n\n\n\n get_aerlon_user_path\n qconfirm,qpilot,qdocreg %c %c %c\n %s\n",
                 qconfirm ? 'T' : 'F', qpilot ? 'T' : 'F', qdocreg ? 'T' : 'F',
                 trim(aerlonuserpath).c_str());
  bool version3 = same_text(aerlonuserpath, "3");
  std::string arln_doc = version3 ? "Aerlon3" : "Aerlon";
  std::string arln_reg = version3 ? "Aerlon3" : "Aerlon2";

  std::string path = documents_folder();
  std::int32_t result = 0;
  if (!path.empty()) {
    if (qpilot) {
      std::string value;
      std::int32_t len = 0;
      std::int32_t status =
          RdUsrReg("SOFTWARE\\" + arln_reg + "\\", "LastPlayer", value, len, ValueUse::path);
      console_printf(" %d %d\n", status, len);
      std::string player;
      if (status == 0) {
        player = strcpy_c2f(value.c_str(), 0, player_capacity);
        path += "\\" + arln_doc + "\\Pilots\\" + player;
      }
      console_printf(" player %s\n", trim(player).c_str());
    } else {
      path += "\\" + arln_doc + "\\";
    }
    path = path.substr(0, documents_path_capacity);
    console_printf(" Final Path : %s\n", trim(path).c_str());
    if (!is_blank(path)) {
      // Kept whole: a folder cut at the record's 256 characters would be
      // another folder. The callers check that the names they build fit.
      aerlonuserpath = trim(path);
      result = 1;
    }
  }
  console_printf(" get_aerlon_user_path= %d\n", result);
  return result;
}

std::int32_t get_aerlon_2_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot,
                               std::string& aerlonuserpath) {
  std::int32_t result = get_aerlon_user_path(msgpltfldr, qconfirm, qpilot, true, aerlonuserpath);
  console_printf(" get_aerlon_user_path= %d\n", result);
  return result;
}
