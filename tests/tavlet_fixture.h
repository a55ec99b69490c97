// Tavlet's installation for the end-to-end tests, and what its reports hold.
#ifndef MALVET_TESTS_TAVLET_FIXTURE_H
#define MALVET_TESTS_TAVLET_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shared/text.h"
#include "tests/e2e_support.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

inline const std::string crlf = "\r\n";

// A report row laid out for the longest command name of the fixture's tables
// (12 characters): fields from columns 1, 17 and 47.
inline std::string txt(const std::string& f1, const std::string& f2 = "",
                       const std::string& f3 = "") {
  std::string row = f1;
  if (!f2.empty() || !f3.empty()) {
    row.resize(16, ' ');
    row += f2;
  }
  if (!f3.empty()) {
    row.resize(46, ' ');
    row += f3;
  }
  return row + crlf;
}

inline const std::string nokbk_en = "Not assigned to a keyboard key" + std::string(34, ' ');

inline const std::string question_en =
    "box|yesno|Tavlet (beta)|The controls assignment table has been written to : "
    "controls.txt\\nDo you want to open it (with the default text editor) ?\r\n";

// The fixture's report in English with both versions read.
inline std::string english_block(const std::string& path, const std::string& rows) {
  return " \r\n" + path + crlf + " \r\n" + txt("Control", "Button/Axis/Key", "Device") + " \r\n" +
         rows;
}

// Without a joystick, the stick's section is a device that is not attached.
inline const std::string v2_rows_without_joystick =
    txt("Aileron", "Unassigned") + txt("Elevator", "Unassigned") +
    txt("Pause", "Space", "Keyboard") + txt("Pause", "Q", "Keyboard") +
    txt("Release tow", "A", "Keyboard") + txt("Airbrakes", "Unrecognized key") +
    txt("Airbrakes", "Not assigned to a keyboard key") +
    txt("Chat", "Not assigned to a keyboard key");

inline int count_of(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

// The registry export as the registry editor writes it: UTF-16LE, here with
// the last pilot `pilot` (UTF-8) in both versions.
inline std::string utf16_export(std::string reg, const std::string& pilot) {
  std::size_t at;
  while ((at = reg.find("\"LastPlayer\"=\"Ann\"")) != std::string::npos) {
    reg.replace(at, 18, "\"LastPlayer\"=\"" + pilot + "\"");
  }
  std::string out = "\xFF\xFE";
  for (char16_t u : utf8_to_utf16(reg)) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

// The registry's system code page of a Windows set to UTF-8 (with Windows
// 11, the program keeps its own).
inline const std::string utf8_system_code_page =
    "\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\r\n"
    "\"ACP\"=\"65001\"\r\n";

// Text of Windows-1252 letters below 0x100 (as the reports' French ones) in
// UTF-8.
inline std::string latin1_to_utf8(const std::string& text) {
  std::string out;
  for (char c : text) append_utf8(out, static_cast<unsigned char>(c));
  return out;
}

// Both versions installed for Ann: the tables in the working folder, her
// controls.ini of each version, Palvik's settings, one joystick attached.
class Tavlet : public Installation {
 protected:
  void SetUp() override {
    Installation::SetUp();
    if (IsSkipped()) return;
    write("work/CMD.txt",
          "# Aerlon 2\r\n1000=Aileron\r\n1001=Elevator\r\n3001=Pause\r\n3002=Release tow\r\n"
          "3003=Airbrakes\r\n3004=Chat\r\n");
    write("work/CMD_A3.txt",
          "2001=Aileron\r\n2002=Elevator\r\n3101=Pause\r\n3102=Release tow\r\n"
          "3103=Airbrakes\r\n3105=Engine start\r\n");
    write("work/SCN_QWERTY.txt",
          "2=1\r\n16=Q\r\n30=A\r\n44=Zed\r\n57=Space\r\n59=F1\r\n200=Up\r\n328=Up ext\r\n");
    install(2);
    install(3);
    write("Docs/Aerlon/Pilots/Ann/controls.ini",
          "[Keyboard]\r\n3001=57\r\n3002=30\r\n3003=99\r\n3001=16\r\n\r\n" + joystick_header +
              "\r\n1000=1000\r\n1001=1004\r\n3003=49\r\n\r\n"
              "[{00000000-0000-0000-0000-000000000000}]\r\n3004=50\r\n1000=1000\r\n");
    write("Docs/Aerlon3/Pilots/Ann/controls.ini",
          joystick_header +
              "\r\n2001=1000\r\n3103=49\r\n[Keys]\r\n3101=57\r\n3102=44\r\n"
              "3105=2\r\n9999=5\r\n3101=16\r\n");
    write("Palvik/Settings/Palvik.ini", "[Keys]\r\nKeyMenu=SCN328\r\n");
    write("joysticks.txt", "0 3 4 045E 001B\r\n");
    write_registry();
  }

  int run(const std::string& lang, std::vector<std::string> args = {},
          const std::string& answers = "no\n", const RunOptions& options = {}) {
    return run_program_in_work("Tavlet", lang, args, answers, options);
  }
};

#endif
