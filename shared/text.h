// Fixed-width text rules and the settings-line procedures.
//
// Every text of the system is single-byte Windows-1252 text that the
// simulator's files hold in blank-padded fields. Here a field's content is a
// std::string whose trailing blanks carry no meaning: the procedures return it
// trimmed, and the caller applies its field's capacity with cut() where it
// stores or writes the text. This module is the one owner of those rules.
#ifndef MALVET_SHARED_TEXT_H
#define MALVET_SHARED_TEXT_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Folder separator and the two relative folders of a Windows path.
inline constexpr char fld_sep = '\\';
inline constexpr std::string_view fld_up = "..\\";
inline constexpr std::string_view fld_loc = ".\\";

// ---- Fixed-width rules ----------------------------------------------------

// True when the text holds nothing but blanks (or nothing at all).
bool is_blank(std::string_view s);

// The text without its trailing blanks; as a view of it.
std::string trim(std::string_view s);
std::string_view trimmed(std::string_view s);

// Leading blanks moved to the end of the field: the text without its leading
// blanks, trimmed.
std::string left_justify(std::string_view s);

// The first `capacity` characters of the text, trimmed: what a field of that
// capacity keeps of it.
std::string cut(std::string_view s, std::size_t capacity);

// The text cut or blank-padded to exactly `capacity` characters, for the few
// places where a field's full width is written out.
std::string pad(std::string_view s, std::size_t capacity);

// Equal as field contents: trailing blanks are ignored, nothing else is.
bool same_text(std::string_view a, std::string_view b);

// A whole number in free form: optional leading blanks, an optional sign and
// decimal digits, ended by a blank (a tab counts as one), a comma, a slash or
// the end of the text; whatever follows that end is ignored. Empty text, a
// sign alone, "12abc", "5." and numbers outside the signed 32-bit range do not
// read: the result is then empty.
std::optional<std::int32_t> read_whole_number(std::string_view s);

// ---- Unicode forms -----------------------------------------------------------
//
// The texts of the system are single bytes of the machine's code page; the
// platform turns them into UTF-16 and back (shared/platform.h). These are
// the conversions between Unicode's own forms.

// Appends the UTF-8 form of a Unicode character: one byte below 0x80, and
// never a longer form than the character needs.
void append_utf8(std::string& out, char32_t u);

// True when the bytes are well-formed UTF-8, as a strict reader takes them:
// no longer form than needed, no surrogate, nothing past U+10FFFF.
bool is_utf8(std::string_view bytes);

// UTF-16 as UTF-8; a surrogate without its other half becomes "?".
std::string utf16_to_utf8(std::u16string_view text);

// UTF-8 as UTF-16; each byte that begins no well-formed character becomes
// "?".
std::u16string utf8_to_utf16(std::string_view text);

// UTF-16LE bytes (without byte-order mark) as UTF-16; a last odd byte is
// dropped.
std::u16string utf16le_units(std::string_view bytes);

// ---- Settings-line procedures -----------------------------------------------

struct KeyVal {
  std::string key;
  std::string val;
};

// Splits a settings line at its first "=", or at its first ":" when it has no
// "=" at all. Both parts come back left-justified; a line with neither
// separator comes back whole (leading blanks kept) as the key, value blank.
KeyVal extract_key_val(std::string_view ligne);

// extract_key_val's parts as views of `ligne`, nothing copied.
struct KeyValView {
  std::string_view key, val;
};
KeyValView split_key_val(std::string_view ligne);

// The view without its leading and trailing blanks (left-justified and
// trimmed, as a field's value is).
std::string_view justified(std::string_view s);

struct KeyRelVal {
  std::string key;
  std::string rel;  // one of = != < <= > >= [] ; blank when none was found
  std::string val;
};

// Splits a condition line at a relational operator. Operators are looked for
// in the order = != < <= > >= []; one found later in that order wins whatever
// its place in the line, so "a<=b" gives "<=" and "x=1<2" gives "<".
KeyRelVal extract_key_val_rel(std::string_view ligne);

// Takes the next item of a list separated by `sep` off the front of `val` and
// returns it left-justified. A separator inside the item's first quoted
// stretch does not end it; the quotes stay in the item. A blank list gives a
// blank item.
std::string extract_list(std::string& val, char sep);

// extract_list with the separator ",".
std::string extract_comma(std::string& val);

// All items of a list, each cut to `item_capacity` (at most 256). A blank item
// ends the list: "a,,b" gives one item and leaves "b" in `val`; a list read to
// its end leaves `val` blank.
std::vector<std::string> read_list(std::string& val, char sep, std::size_t item_capacity);

// Equal when the trimmed lengths agree and the characters agree once a..z are
// mapped onto A..Z; no other character is folded and leading blanks count.
bool case_blind_compare(std::string_view s1, std::string_view s2);

// The number as decimal text for a field of `capacity` characters: the width
// is the capacity but at most 16, and a number that needs more than that
// width is shown as that many "*". The length is the result's size().
std::string i2b(std::int32_t ii4, std::size_t capacity = 16);

// NUL-terminated text into a field: the characters up to the NUL, at most
// `ls` of them (0 meaning the field's capacity).
std::string strcpy_c2f(const char* in_str, std::size_t ls, std::size_t capacity);

// A field's text for the system: trimmed; c_str() gives the NUL-terminated
// form and size() its length.
std::string strcpy_f2c(std::string_view in_str);

// Blanks the field from its first NUL on (the field then ends there).
void remove_trail_0(std::string& buff);

// Every line feed replaced by "/".
void make_printable(std::string& str);

// The file name part of a path: all after its last "\", or the whole path.
std::string extract_name(std::string_view path);

struct PathName {
  std::string p1;  // the folder with its final "\", ".\" for a bare name
  std::string n1;  // the file name
};

// Folder and file name of a path (worked on a copy cut to 1,024 characters).
// ".." gives "..\" and a blank name; a blank path gives two blanks.
PathName extract_path_name(std::string_view path);

#endif
