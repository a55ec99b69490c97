#include "report/report_run.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "report/bindings.h"
#include "report/card.h"
#include "report/keyboard_layout.h"
#include "report/page_writer.h"
#include "report/report_writer.h"
#include "report/run_steps.h"
#include "report/texts.h"
#include "shared/console.h"
#include "shared/install.h"
#include "shared/log.h"
#include "shared/messages.h"
#include "shared/own_window.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"

namespace {

constexpr const char* text_report = "Controls.txt";
constexpr const char* csv_report = "Controls.csv";
constexpr const char* page_report = "Controls.html";

// 12. Both report files opened, each keeping its content until its first
// line; false after the box that names one that can't be.
bool open_reports(ReportFiles& report, const Layout& layout, const ReportTexts& texts) {
  report.set_layout(layout);
  report.set_utf8(system_code_page_is_utf8());
  for (const char* name : {text_report, csv_report}) {
    bool opened = name == text_report ? report.open_text(name) : report.open_csv(name);
    if (!opened) {
      stop_report(texts, output_file_error(*texts.shared, name, last_file_refusal()));
      return false;
    }
  }
  return true;
}

// 18. Both reports, as far as the run got, then closed; the run's exit
// status after the box of a version that stopped it or of a report that
// could not be written whole, else nothing.
std::optional<int> write_and_close(ReportFiles& report, const ReportModel& model,
                                   const ReportTexts& texts, const std::optional<MixedText>& stop) {
  // The reports hold the program's words among the machine's names, in its
  // code page.
  write_reports(report, model, in_code_page(texts));
  ReportFiles::Closed closed = report.close();
  if (stop) return stop_report(texts, *stop);
  for (auto [ok, name] : {std::pair{closed.text_ok, text_report}, {closed.csv_ok, csv_report}}) {
    if (!ok) return stop_report(texts, output_file_error(*texts.shared, name, FileRefusal::none));
  }
  return std::nullopt;
}

// 19. The reference card, drawn from the card built of the same model; the
// console says whether it was written, and where the run's files lie,
// wherever the tables came from. True when it was written.
bool write_card(const Card& card, const ReportModel& model, const ReportTexts& texts) {
  std::string not_written = write_page(page_report, card, model, texts);
  if (not_written.empty()) {
    console_printf(" %s written\n", page_report);
  } else {
    console_printf(" %s NOT WRITTEN: %s\n", page_report, not_written.c_str());
  }
  console_printf(" %s, %s, %s, %s: %s\n", text_report, csv_report, page_report,
                 log_file_name().c_str(), working_folder().c_str());
  return not_written.empty();
}

// 20-21. The offer to open the text report, opened without waiting on yes.
void offer_to_open(const ReportTexts& texts) {
  std::int32_t msg_status = s_yesno;
  error_message_tit(msg_status, report_title, {{texts.open_question, true}}, false);
  if (msg_status == 1) start_document(text_report);
}

// 22. In a window of its own (a double-click in Explorer), which closes
// when the run ends: what was written, and the card opened on "C".
void end_in_own_window(const ReportTexts& texts, bool card_written) {
  if (!console_of_its_own()) return;
  console_write("\n");
  if (card_written) {
    std::string card = full_path_name(page_report);
    console_parts({{" "},
                   {texts.window_written, true},
                   {"\n "},
                   {card},
                   {"\n "},
                   {texts.window_open_card, true},
                   {"\n"}});
    // Opened by the name the opener can open whatever letters the folder's
    // name has: the working folder's own.
    std::optional<std::string> typed = wait_for_enter(texts.shared->press_enter);
    if (typed && case_blind_compare(*typed, "C")) start_document(page_report);
    return;
  }
  console_parts({{" "}, {texts.window_written_no_card, true}, {working_folder()}, {"\n"}});
  wait_for_enter(texts.shared->press_enter);
}

}  // namespace

std::optional<Start> start_report(int argc, char** argv) {
  const bool english_forced = argc == 2 && std::strcmp(argv[1], "-EN") == 0;
  Start start;
  start.texts = report_texts(ui_language(english_forced));
  const ReportTexts& texts = start.texts;
  if (check_aerlon_install(start.inst00, "") == 0) {
    stop_report(texts, {{texts.no_installation, true}});
    log_message_f(texts.no_installation);
    return std::nullopt;
  }
  get_active_aerlon_version(start.inst00);
  const InstallationRecord& inst00 = start.inst00;
  console_printf(" %c %c %c\n", texts.language == Language::french ? 'T' : 'F',
                 inst00.qv2 ? 'T' : 'F', inst00.qv3 ? 'T' : 'F');
  start.keyboard = choose_keyboard(keyboard_layout_language(), texts.language);
  log_message_f("CREATE");
  return start;
}

int run_report(int argc, char** argv) {
  std::optional<Start> start = start_report(argc, argv);
  if (!start) return 1;
  const ReportTexts& texts = start->texts;
  ReportModel model = new_model(*start);
  std::optional<Tables> tables = read_tables(*start, model);
  if (!tables) return 1;
  ReportFiles report;
  if (!open_reports(report, tables->layout, texts)) return 1;

  // Every version read, and all that is found from it, before anything is
  // written.
  std::optional<MixedText> stop = read_versions(*start, *tables, model);
  if (!stop) {
    read_sibling_tools(texts, model);
    analyse(*tables, *start, model);
    trace_findings(model);
  }
  if (std::optional<int> stopped = write_and_close(report, model, texts, stop)) return *stopped;
  Card card = build_card(model, texts);
  bool card_written = write_card(card, model, texts);
  offer_to_open(texts);
  end_in_own_window(texts, card_written);
  return 0;
}
