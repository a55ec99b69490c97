#include "shared/messages.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// Dialogs answered from a script, with their transcript kept in a folder.
class Dialogs : public ::testing::Test {
 protected:
  void script(const std::string& answers) { dir_.write("answers.txt", answers); }
  std::string transcript() const { return dir_.read("dialogs.log"); }

  TempDir dir_;
  ScopedEnv answers_{"MALVET_DIALOGS", dir_.file("answers.txt")};
  ScopedEnv log_{"MALVET_DIALOG_LOG", dir_.file("dialogs.log")};
  ScopedEnv lang_{"LC_ALL", "en_US.UTF-8"};
};

std::string show(std::int32_t kind, const std::string& title, std::string msg) {
  error_message_tit(kind, title, msg, false);
  return msg;
}

}  // namespace

TEST_F(Dialogs, SlashesBreakLinesAndEscapedSlashesStay) {
  script("");
  EXPECT_EQ(show(s_info, "T", "Line one/Line two"), "Line one\nLine two");
  EXPECT_EQ(show(s_info, "T", "a\\/b"), "a/b");
  EXPECT_EQ(show(s_info, "T", "/x"), "\nx");
  EXPECT_EQ(show(s_info, "T", "x/"), "x\n");
  EXPECT_EQ(show(s_info, "T", "a\\//b"), "a/\nb");
  EXPECT_EQ(transcript(),
            "box|info|T|Line one\\nLine two\r\n"
            "box|info|T|a/b\r\n"
            "box|info|T|\\nx\r\n"
            "box|info|T|x\\n\r\n"
            "box|info|T|a/\\nb\r\n");
}

TEST(Messages, ADoubleByteLettersSecondByteEscapesNothing) {
  // In code page 932, "\x95\\" is one letter (a "\" as its second byte):
  // the "/" after it breaks the line; in 1252 the "\" escapes it.
  struct Case {
    std::uint32_t code_page;
    std::string msg, shown;
  };
  const Case cases[] = {{932, "C:\\\x95\\/x", "C:\\\x95\\\nx"},
                        {932, "\x95\\\\/x", "\x95\\/x"},
                        {936, "\x81\\/x", "\x81\\\nx"},
                        // 932's lead bytes run to 0x9F and from 0xE0 to
                        // 0xFC; 949's from 0x81 to 0xFE.
                        {932, "\xE0\\/x", "\xE0\\\nx"},
                        {932, "\xFC\\/x", "\xFC\\\nx"},
                        {932, "\xFD\\/x", "\xFD/x"},
                        {932, "\xA0\\/x", "\xA0/x"},
                        {949, "\xFE\\/x", "\xFE\\\nx"},
                        {949, "\x80\\/x", "\x80/x"},
                        {1252, "\x95\\/x", "\x95/x"}};
  for (const Case& c : cases) {
    std::string msg = c.msg;
    convert_line_breaks(msg, c.code_page);
    EXPECT_EQ(msg, c.shown) << c.code_page;
  }
}

TEST_F(Dialogs, TitleAndMessageLimits) {
  script("");
  std::string long_msg = std::string(600, 'm') + "   ";
  std::string long_title = std::string(70, 't');
  show(s_warning, long_title, long_msg);
  // Trailing blanks never reach the box, in the last run or across runs.
  show(s_info, "T", "short   ");
  std::int32_t kind = s_info;
  error_message_tit(kind, "T", MixedText{{"own ", true}, {"name  "}, {"   ", true}}, false);
  EXPECT_EQ(transcript(), "box|warning|" + std::string(63, 't') + "|" + std::string(511, 'm') +
                              "\r\nbox|info|T|short\r\nbox|info|T|own name\r\n");
}

TEST_F(Dialogs, AStoppingBoxKeepsItsLastLineWhateverTheMessage) {
  script("");
  EXPECT_EQ(stop_run("T", {{std::string(300, 'm')}}, {{"/note", true}}), 1);
  EXPECT_EQ(transcript(), "box|error|T|" + std::string(256, 'm') + "\\nnote\r\n");
  // A German reason after a long name stays whole: the name is cut.
  const std::string before = transcript();
  const std::string& why = shared_words(Language::german).refusal_undelivered;
  stop_run("T", {{std::string(100, 'n')}, {"/x" + why, true}});
  EXPECT_EQ(transcript().substr(before.size()), "box|error|T|" + std::string(254 - why.size(), 'n') + "\\nx\\n" +
                              why.substr(1) + "\r\n");
}

TEST(OutputFileError, ALastLineForWhatRefusedTheFile) {
  const SharedWords& en = shared_words(Language::english);
  EXPECT_EQ(bytes_of(output_file_error(en, "C.csv", FileRefusal::none)),
            "Output file : C.csv/Error opening");
  EXPECT_EQ(bytes_of(output_file_error(en, "C.csv", FileRefusal::held)),
            "Output file : C.csv/Error opening/The file is open in another program: close it "
            "first.");
  EXPECT_EQ(
      bytes_of(output_file_error(shared_words(Language::french), "C.csv", FileRefusal::read_only)),
      "Fichier de sortie : C.csv/Ouverture impossible/Le fichier est en lecture seule : "
      "d\xE9"
      "cochez \"Lecture seule\" dans ses propri\xE9t\xE9s.");
  EXPECT_EQ(bytes_of(output_file_error(en, "C.csv", FileRefusal::access_denied)),
            "Output file : C.csv/Error opening/Access denied: an antivirus or Windows' ransomware "
            "protection (controlled folder access) may guard this folder.");
  EXPECT_EQ(bytes_of(output_file_error(en, "C.csv", FileRefusal::undelivered)),
            "Output file : C.csv/Error opening/OneDrive or the network could not deliver this "
            "file: connect, start OneDrive, or choose 'Always keep on this device'.");
  // A file read: only what was not delivered is said.
  EXPECT_EQ(input_refusal_line(en, FileRefusal::held), "");
  EXPECT_EQ(input_refusal_line(en, FileRefusal::undelivered),
            refusal_line(en, FileRefusal::undelivered));
  EXPECT_EQ(refusal_line(shared_words(Language::french), FileRefusal::undelivered),
            "/OneDrive ou le r\xE9seau n'a pas pu fournir ce fichier : connectez-vous, "
            "d\xE9marrez OneDrive, ou choisissez \xAB Toujours conserver sur cet appareil "
            "\xBB.");
  EXPECT_EQ(bytes_of(output_file_error(shared_words(Language::german), "C.csv", FileRefusal::held)),
            "Ausgabedatei : C.csv/\xD6"
            "ffnen nicht m\xF6glich/Die Datei ist in einem anderen Programm ge\xF6"
            "ffnet: schlie\xDF"
            "en Sie sie zuerst.");
}

TEST_F(Dialogs, AnswerCodes) {
  script("yes\nno\nno\ncancel\nok\ncancel\nyes\n");
  std::int32_t status = s_yesno;
  std::string msg = "q";
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 1);
  status = s_yesno;
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 0);
  status = s_yesnocancel;
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 2);
  status = s_yesnocancel;
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 0);
  status = s_okcancel;
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 1);
  status = s_okcancel;
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 0);

  status = s_info;  // boxes without a question take no answer
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, s_info);
  status = s_error;
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, s_error);
  status = s_yesnocancel;
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 1);  // the "yes" left over after the info boxes

  status = s_yesno;  // answers run out: no
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 0);

  EXPECT_NE(transcript().find("box|yesnocancel|T|q\r\nbox|okcancel|T|q\r\n"), std::string::npos);
  EXPECT_NE(transcript().find("box|info|T|q\r\nbox|error|T|q\r\n"), std::string::npos);
}

TEST_F(Dialogs, UnknownKindAndConsoleShowNothing) {
  script("yes\n");
  std::int32_t status = 7;
  std::string msg = "a/b";
  error_message_tit(status, "T", msg, false);
  EXPECT_EQ(status, 7);

  status = s_yesno;
  msg = "on/console";
  testing::internal::CaptureStdout();
  error_message_tit(status, "T", msg, true);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " on\nconsole\n");
  EXPECT_EQ(status, s_yesno);
  EXPECT_EQ(transcript(), "");
}

TEST_F(Dialogs, ErrorMessageTitleIsMalvet) {
  script("");
  std::int32_t status = s_error;
  std::string msg = "oops";
  error_message(status, msg, false);
  EXPECT_EQ(transcript(), "box|error|Malvet|oops\r\n");
}

TEST_F(Dialogs, FileDialogPatternsAndCancel) {
  const SharedWords& english = shared_words(Language::english);
  script("/tmp/pilot/controls.ini\n\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetFileName("Pick", "", "*.ini", "Configuration files (*.ini)", false, english),
            "\\tmp\\pilot\\controls.ini");
  EXPECT_EQ(GetFileName("Pick", "C:\\P", "*.ini,*.txt", "", false, english), std::nullopt);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "GetFileName *.ini 5\nGetFileName  0\n"
            "GetFileName *.ini,*.txt 11\nGetFileName C:\\P 4\n");
  EXPECT_EQ(transcript(),
            "open|Pick||*.ini\r\n"
            "open|Pick|C:\\P|*.ini,*.txt\r\n"
            "box|error|Error|No file specification returned\r\n");
  // Ten patterns reach the dialog, an eleventh does not.
  script("");
  dir_.write("dialogs.log", "");
  const std::string ten = "*.a,*.b,*.c,*.d,*.e,*.f,*.g,*.h,*.i,*.j";
  testing::internal::CaptureStdout();
  GetFileName("Pick", "", ten + ",*.k", "", false, english);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(transcript().substr(0, 11 + ten.size() + 2), "open|Pick||" + ten + "\r\n");
}

TEST_F(Dialogs, FileDialogCancelInFrenchAndGerman) {
  script("");
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetFileName("Pick", "", ",*.ini,,", "", false, shared_words(Language::french)),
            std::nullopt);
  GetFileName("Pick", "", "*.ini", "", false, shared_words(Language::german));
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(transcript(),
            "open|Pick||*.ini\r\n"
            "box|error|Error|Aucun fichier sp\xE9"
            "cifi\xE9\r\n"
            "open|Pick||*.ini\r\n"
            "box|error|Error|Keine Datei ausgew\xE4hlt\r\n");
}

TEST(Language, FrenchByTheFirstLocaleVariableSet) {
  ScopedEnv all("LC_ALL", "fr_CA.UTF-8");
  ScopedEnv messages("LC_MESSAGES", std::nullopt);
  ScopedEnv lang("LANG", "en_US.UTF-8");
  EXPECT_EQ(IsLanguageFrench(), 1);
  {
    ScopedEnv empty_all("LC_ALL", "");
    EXPECT_EQ(IsLanguageFrench(), 0);
    ScopedEnv french_messages("LC_MESSAGES", "fr_BE");
    EXPECT_EQ(IsLanguageFrench(), 1);
  }
  ScopedEnv german("LC_ALL", "de_CH.UTF-8");
  EXPECT_EQ(IsLanguageFrench(), 0);
  EXPECT_EQ(ui_language(), Language::german);
  EXPECT_EQ(ui_language(true), Language::english);  // -EN
}
