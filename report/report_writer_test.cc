#include "report/report_writer.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

TEST(Layout, FormatTextsForLanguageAndWidth) {
  Layout en = make_layout(30, ',');
  EXPECT_EQ(en.fmtstr, "(A,T35,A,T65,A)");
  EXPECT_EQ(en.csvstr, "(3('\"',A,'\",'))");
  EXPECT_EQ(en.csvnum, "('\"',A,'\",','=\"',A,'\",','\"',A,'\",')");
  Layout fr = make_layout(4, ';');
  EXPECT_EQ(fr.fmtstr, "(A,T 9,A,T39,A)");
  EXPECT_EQ(fr.csvstr, "(3('\"',A,'\";'))");
  EXPECT_EQ(fr.csvnum, "('\"',A,'\";','=\"',A,'\";','\"',A,'\";')");
  EXPECT_EQ(make_layout(80, ',').fmtstr, "(A,T69,A,T99,A)");  // lmax taken as 64
  // The region's list separator, whatever the language.
  EXPECT_EQ(make_layout(30, ',', ';').csvnum, "('\"',A,'\";','=\"',A,'\";','\"',A,'\";')");
  EXPECT_EQ(make_layout(4, ';', ',').csvstr, "(3('\"',A,'\",'))");
}

TEST(Layout, TextRowsSetFieldsInTheirColumns) {
  Layout layout = make_layout(30, ',');
  std::string row = text_row(layout, "Control", "Button/Axis/Key", "Device");
  EXPECT_EQ(row,
            "Control" + std::string(27, ' ') + "Button/Axis/Key" + std::string(15, ' ') + "Device");
  EXPECT_EQ(row.find("Button"), 34u);
  EXPECT_EQ(row.find("Device"), 64u);
  EXPECT_EQ(text_row(layout, "Pause", "Unassigned"), "Pause" + std::string(29, ' ') + "Unassigned");
  EXPECT_EQ(text_row(layout, "Name  "), "Name");
  // A first field longer than its column is covered by the second; a key
  // text that reaches the third column keeps its end, the device follows
  // one blank after it.
  Layout narrow = make_layout(0, ',');
  EXPECT_EQ(text_row(narrow, "Longname", "K"), "LongKame");
  for (std::size_t n : {29u, 30u, 31u, 40u}) {
    std::string key(n, 'x');
    EXPECT_EQ(text_row(layout, "C", key, "D"),
              "C" + std::string(33, ' ') + key + std::string(n < 30 ? 30 - n : 1, ' ') + "D")
        << n;
  }
  EXPECT_EQ(text_row(layout, "C", "", "D"), "C" + std::string(63, ' ') + "D");
  // The log line of a key: the display name never covers the table name.
  Layout small = make_layout(4, ',');
  EXPECT_EQ(key_log_row(small, "Esc", "Escape"), "Esc     Escape");
  EXPECT_EQ(key_log_row(small, "Right Shift", "RShift"), "Right Shift RShift");
  EXPECT_EQ(key_log_row(small, "Scroll L", "Scroll"), "Scroll L Scroll");
  EXPECT_EQ(text_row(make_layout(64, ','), std::string(64, 'c'), std::string(64, 'k'),
                     std::string(64, 'd'))
                .size(),
            row_capacity);
}

TEST(Layout, CsvRowsQuoteEveryCell) {
  Layout en = make_layout(10, ',');
  Layout fr = make_layout(10, ';');
  EXPECT_EQ(csv_row(en, "Pause", "P", "Keyboard"), "\"Pause\",\"P\",\"Keyboard\",");
  EXPECT_EQ(csv_row(fr, "Pause", "1", "Clavier", true), "\"Pause\";=\"1\";\"Clavier\";");
  EXPECT_EQ(csv_row(en, "a\"b", "", " "), "\"a\"b\",\"\",\" \",");
  EXPECT_EQ(csv_row(make_layout(10, ',', '\t'), "Pause", "P", "Keyboard"),
            "\"Pause\"\t\"P\"\t\"Keyboard\"\t");
  // Too long: the texts are cut, never a quote or a separator.
  EXPECT_EQ(csv_row(en, std::string(64, 'c'), std::string(64, 'k'), "d"),
            "\"" + std::string(64, 'c') + "\",\"" + std::string(55, 'k') + "\",\"\",");
  EXPECT_EQ(csv_row(en, std::string(130, 'p'), "", ""),
            "\"" + std::string(119, 'p') + "\",\"\",\"\",");
  EXPECT_EQ(csv_row(fr, "Pause", "1", std::string(200, 'd'), true),
            "\"Pause\";=\"1\";\"" + std::string(112, 'd') + "\";");
  EXPECT_TRUE(looks_numeric("1"));
  EXPECT_TRUE(looks_numeric("+"));
  EXPECT_TRUE(looks_numeric("-x"));
  EXPECT_FALSE(looks_numeric("A"));
  EXPECT_FALSE(looks_numeric(""));
}

TEST(ReportFilesTest, BothFilesGetTheirLines) {
  TempDir dir;
  dir.write("Controls.txt", "old\r\n");
  ReportFiles report;
  ASSERT_TRUE(report.open_text(dir.file("Controls.txt")));
  ASSERT_TRUE(report.open_csv(dir.file("Controls.csv")));
  report.set_layout(make_layout(4, ','));
  report.write_blank();
  report.write_row("Cmd", "5", "Keyboard");
  report.write_row("Cmd", "Up", "Keyboard");
  report.write("text  ", "csv  ");
  report.close();
  EXPECT_EQ(dir.read("Controls.txt"), " \r\nCmd     5" + std::string(29, ' ') +
                                          "Keyboard\r\nCmd     Up" + std::string(28, ' ') +
                                          "Keyboard\r\ntext\r\n");
  EXPECT_EQ(dir.read("Controls.csv"),
            " \r\n\"Cmd\",=\"5\",\"Keyboard\",\r\n\"Cmd\",\"Up\",\"Keyboard\",\r\ncsv\r\n");
}

TEST(Bindings, RenderedAsTheRowsOfEachKind) {
  Layout layout = make_layout(6, ',');
  ReportTexts en = report_texts(Language::english);
  std::vector<Binding> bindings = {{0, "Roll", BindingKind::axis, 1, "", 1, "Stick"},
                                   {1, "Pause", BindingKind::key, 2, "1", 0, ""},
                                   {1, "Pause", BindingKind::unrecognised_key, 99, "", 0, ""},
                                   {2, "Brake", BindingKind::button, 3, "", 1, "Stick"},
                                   {2, "Brake", BindingKind::not_attached, 48, "", 0, "[{X}]"},
                                   {3, "Chat", BindingKind::unbound, 0, "", 0, ""}};
  VersionRows rows = render_rows(bindings, layout, en);
  EXPECT_EQ(rows.line_out,
            (std::vector<std::string>{
                "Roll      Y Axis                        Stick",
                "Pause     1                             Keyboard", "Pause     Unrecognized key",
                "Brake     Button 3                      Stick",
                "Brake     Not assigned to a keyboard key", "Chat      Unassigned"}));
  EXPECT_EQ(rows.line_csv,
            (std::vector<std::string>{
                "\"Roll\",\"Y Axis\",\"Stick\",", "\"Pause\",=\"1\",\"Keyboard\",",
                "\"Pause\",\"Unrecognized key\",\" \",", "\"Brake\",\"Button 3\",\"Stick\",",
                "\"Brake\",\"Not assigned to a keyboard key" + std::string(34, ' ') + "\",\" \",",
                "\"Chat\",\"Unassigned\",\" \","}));
}

TEST(ReportFilesTest, SiblingToolsAndTheUnusedSectionFromTheModel) {
  TempDir dir;
  for (Language language : {Language::english, Language::french}) {
    ReportFiles report;
    ASSERT_TRUE(report.open_text(dir.file("Controls.txt")));
    ASSERT_TRUE(report.open_csv(dir.file("Controls.csv")));
    report.set_layout(make_layout(4, language == Language::french ? ';' : ','));
    ReportModel model;
    model.tools = {
        {"Palvik", "Tool.ini", {{"KeyPause", "1", 2, 1}, {"KeyView", "Up", 200, 2}}, true},
        {"Serunt", "S.ini", {}, false}};
    model.unused_keys = {{57, "Space"}};
    write_reports(report, model, report_texts(language));
    report.close();
    // Columns 1, 9 and 39; the tool whose file could not be read to its end
    // is listed, says so, and is not counted.
    std::string device = language == Language::french ? "Clavier" : "Keyboard";
    std::string unread = language == Language::french ? "S.ini n'a pas pu \xEAtre lu jusqu'au bout."
                                                      : "S.ini could not be read to its end.";
    EXPECT_EQ(dir.read("Controls.txt"),
              " \r\nTool.ini\r\n \r\nKeyPause1" + std::string(29, ' ') + device + "\r\nKeyView Up" +
                  std::string(28, ' ') + device + "\r\n \r\nS.ini\r\n \r\n" + unread + "\r\n\r\n" +
                  (language == Language::french
                       ? "Touches, axes & boutons non utilis\xE9s dans Aerlon, Palvik"
                       : "Keys, axes and buttons not used in Aerlon, Palvik") +
                  "\r\n\r\n" + std::string(8, ' ') + "Space" + std::string(25, ' ') + device +
                  "\r\n");
    std::string sep = language == Language::french ? ";" : ",";
    auto cells = [&](const std::string& a, const std::string& b, const std::string& c) {
      return "\"" + a + "\"" + sep + b + sep + "\"" + c + "\"" + sep + "\r\n";
    };
    EXPECT_EQ(dir.read("Controls.csv"),
              " \r\nTool.ini\r\n \r\n" + cells("KeyPause", "=\"1\"", device) +
                  cells("KeyView", "\"Up\"", device) + " \r\nS.ini\r\n \r\n" +
                  cells(unread, "\"\"", "") + "\r\n" +
                  (language == Language::french
                       ? "Touches, axes & boutons non utilis\xE9s dans Aerlon, Palvik"
                       : "Keys, axes and buttons not used in Aerlon, Palvik") +
                  "\r\n\r\n" + cells(" ", "\"Space\"", device));
  }
}
