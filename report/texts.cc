#include "report/texts.h"

#include "shared/machine_text.h"
#include "shared/text.h"
#include "shared/words.h"

namespace {

constexpr std::size_t nokbk_width = 64;

// The words of the file, with those both programs share.
ReportTexts made(Language language) {
  ReportTexts t = report_texts_made(language);
  t.language = language;
  t.shared = &shared_words(language);
  t.input = t.shared->input;
  return t;
}

}  // namespace

ReportTexts report_texts(Language language) {
  return in_language(language, made);
}

ReportTexts in_code_page(const ReportTexts& texts) {
  ReportTexts t = texts;
  for (std::string* text :
       {&t.kbdnam, &t.txtaxe, &t.input.txtbut, &t.input.nokey, &t.nokbk, &t.unass, &t.umsg,
        &t.heading[0], &t.heading[1], &t.heading[2], &t.differences, &t.none, &t.input.curseur,
        &t.input.hat, &t.unread_log, &t.unread_tool, &t.simulator_running, &t.input.axis_pattern}) {
    *text = own_in_code_page(*text);
  }
  return t;
}

std::string unreadable_log_words(const ReportTexts& texts, std::int32_t version) {
  std::string words = texts.unread_log;
  std::size_t mark = words.find('#');
  if (mark != std::string::npos) words.replace(mark, 1, std::to_string(version));
  return words;
}

std::string simulator_running_words(const ReportTexts& texts, std::int32_t version) {
  std::string words = texts.simulator_running;
  std::size_t mark = words.find('#');
  std::string name = version == 0 ? "Aerlon" : "Aerlon " + std::to_string(version);
  if (mark != std::string::npos) words.replace(mark, 1, name);
  return words;
}

std::string binding_text(const Binding& binding, const ReportTexts& texts) {
  switch (binding.kind) {
    case BindingKind::key:
      return binding.key_name;
    case BindingKind::unrecognised_key:
      return trim(texts.input.nokey);
    case BindingKind::button:
      return button_text(binding.code, texts.input);
    case BindingKind::axis:
      return axis_text(binding.code, binding.device, texts.input);
    case BindingKind::not_attached:
      return pad(texts.nokbk, nokbk_width);
    case BindingKind::unbound:
      break;
  }
  return trim(texts.unass);
}
