#include "shared/windows_rules.h"

#include "shared/text.h"

namespace windows_rules {

namespace {

// The errors of a file that OneDrive or the network could not deliver: the
// ERROR_CLOUD_FILE_* codes of winerror.h, and ERROR_BAD_NETPATH,
// ERROR_UNEXP_NET_ERR, ERROR_NETNAME_DELETED, ERROR_BAD_NET_NAME.
bool undelivered(std::uint32_t error) {
  static constexpr std::uint32_t errors[] = {
      53,  59,  64,  67,                                 // the network's
      358, 362, 363, 364, 365, 366, 369, 370,            // the cloud file's, from
      372, 373, 374, 375, 376, 377, 378, 386, 387, 388,  // SYNC_ROOT_METADATA_CORRUPT
      389, 391, 392, 393, 394, 395, 396, 397, 398, 404,  // to US_MESSAGE_TIMEOUT
      426, 429, 475};
  for (std::uint32_t e : errors) {
    if (e == error) return true;
  }
  return false;
}

}  // namespace

FileRefusal refusal_of(std::uint32_t error, std::uint32_t attributes) {
  if (undelivered(error)) return FileRefusal::undelivered;
  if (error == error_sharing_violation || error == error_lock_violation) return FileRefusal::held;
  if (error != error_access_denied) return FileRefusal::none;
  if (attributes == invalid_attributes) return FileRefusal::access_denied;
  if ((attributes & attribute_directory) != 0) return FileRefusal::none;  // a folder, not a file
  return (attributes & attribute_read_only) != 0 ? FileRefusal::read_only
                                                 : FileRefusal::access_denied;
}

bool leftover_removable(std::uint32_t attributes, std::uint32_t reparse_tag) {
  if (attributes == invalid_attributes || (attributes & attribute_directory) != 0) return false;
  if ((attributes & attribute_reparse_point) == 0) return true;
  return (reparse_tag & reparse_tag_name_surrogate) == 0;
}

bool hidden_from_the_interpreter(std::uint32_t attributes) {
  return attributes != invalid_attributes &&
         (attributes & (attribute_hidden | attribute_system)) != 0;
}

std::optional<std::string> virtual_store_path(std::string_view path,
                                              const std::vector<std::string>& program_files,
                                              std::string_view local_app_data) {
  if (local_app_data.empty()) return std::nullopt;
  for (const std::string& folder : program_files) {
    std::string prefix = folder;
    while (!prefix.empty() && prefix.back() == fld_sep) prefix.pop_back();
    // "C:\Program Files" and what lies below it, never "C:\Program Files
    // (x86)" for it.
    if (prefix.size() < 3 || prefix[1] != ':' || path.size() <= prefix.size() ||
        path[prefix.size()] != fld_sep ||
        !case_blind_compare(path.substr(0, prefix.size()), prefix)) {
      continue;
    }
    std::string store(local_app_data);
    while (!store.empty() && store.back() == fld_sep) store.pop_back();
    return store + "\\VirtualStore" + std::string(path.substr(2));
  }
  return std::nullopt;
}

Narrowing narrowing(std::uint32_t code_page) {
  if (code_page == code_page_utf8 || code_page == 54936) {
    return {wc_err_invalid_chars, Narrowing::Told::by_failure};
  }
  if (code_page == 42 || code_page == 65000 || (code_page >= 50220 && code_page <= 50229) ||
      (code_page >= 57002 && code_page <= 57011)) {
    return {0, Narrowing::Told::by_turning_back};
  }
  return {wc_no_best_fit_chars, Narrowing::Told::by_default_character};
}

bool is_lead_byte(std::uint32_t code_page, unsigned char byte) {
  switch (code_page) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    case 1361:
      return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xDE) ||
             (byte >= 0xE0 && byte <= 0xF9);
    default:
      return false;
  }
}

Opener document_opener(std::string_view full_path, bool whole) {
  return whole && full_path.find('%') == std::string_view::npos ? Opener::interpreter
                                                                : Opener::shell;
}

std::optional<std::uint16_t> layout_of_name(std::string_view name) {
  constexpr std::size_t layout_name_digits = 8;
  if (name.size() != layout_name_digits) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : name) {
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::uint16_t>(value & 0xFFFF);
}

bool system_code_page_is_utf8(std::string_view acp) {
  std::optional<std::int32_t> n = read_whole_number(trim(acp));
  return n && static_cast<std::uint32_t>(*n) == code_page_utf8;
}

}  // namespace windows_rules
