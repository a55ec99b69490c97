#include "report/texts.h"

#include "shared/machine_text.h"
#include "shared/text.h"
#include "shared/words.h"

namespace {

constexpr std::size_t nokbk_width = 64;

ReportTexts english() {
  ReportTexts t;
  t.language = Language::english;
  t.shared = &shared_words(Language::english);
  t.input = t.shared->input;
  t.list_separator = ',';
  t.no_installation = "No Aerlon installation detected";
  t.table_unreadable = "*** File # cannot be opened  ***";
  t.open_question =
      "The controls assignment table has been written to : controls.txt/Do you want to open it "
      "(with the default text editor) ?";
  t.kbdnam = "Keyboard";
  t.txtaxe = "Axis";
  t.nokbk = "Not assigned to a keyboard key";
  t.unass = "Unassigned";
  t.umsg = "Keys, axes and buttons not used in Aerlon";
  t.heading[0] = "Control";
  t.heading[1] = "Button/Axis/Key";
  t.heading[2] = "Device";
  t.differences = "Aerlon 2 and 3 assignment differences";
  t.none = "None";
  t.unread_log = " could not be read: Aerlon # is left out.";
  t.unread_tool = " could not be read to its end.";
  t.simulator_running =
      "# was running while the files were read: its latest changes may be missing here.";
  t.window_written = "Tavlet wrote Controls.txt, Controls.csv and the reference card:";
  t.window_written_no_card = "Tavlet wrote Controls.txt and Controls.csv in ";
  t.window_open_card = "Type C then Enter to open the reference card.";
  PageWords& w = t.page;
  w.lang = "en";
  w.title = "Aerlon controls";
  w.search = "Find a command or a key";
  w.version = "Aerlon";
  w.keyboard_iso = "ISO keyboard";
  w.keyboard_ansi = "US keyboard";
  w.keyboard_abnt2 = "Brazilian ABNT2 keyboard";
  w.found_none = "0 found";
  w.found_one = "1 found";
  w.found = "# found";
  w.search_taken = "taken";
  w.search_not_known = "not known|unknown";
  w.press_key = "Press a key";
  w.kneeboard = "Kneeboard pages";
  w.legend_bound = "bound in Aerlon";
  w.legend_taken = "taken by Palvik or Serunt";
  w.legend_conflict = "conflict";
  w.legend_free = "free";
  w.not_known = "not known";
  w.not_known_why = "#'s file could not be read";
  w.may_also = "may also be #'s: its file could not be read to its end";
  w.scroll_hint = "The keyboard scrolls sideways.";
  w.off_drawing = "Keys bound that are not on the drawing";
  w.part_shown = "Keys that show only a part of what they hold";
  w.key_lines = "Keys bound or taken";
  w.free_keys = "Free keys";
  w.joysticks = "Joysticks";
  w.no_joystick = "No joystick section in this file.";
  w.not_plugged = "Device not plugged in";
  w.axes = "Axes";
  w.buttons = "Buttons";
  w.free = "free";
  w.free_many = "free";
  w.no_command = "no command bound";
  w.conflicts = "Conflicts";
  w.no_conflict = "No conflict.";
  w.taken_by = "taken by";
  w.unbound = "Unbound commands";
  w.command = "Command";
  w.binding_v2 = "Aerlon 2";
  w.binding_v3 = "Aerlon 3";
  w.name_sep = ": ";
  return t;
}

ReportTexts french() {
  ReportTexts t;
  t.language = Language::french;
  t.shared = &shared_words(Language::french);
  t.input = t.shared->input;
  t.list_separator = ';';
  t.no_installation = "No Aerlon installation detected";
  t.table_unreadable = "*** Le fichier # ne peut pas \xEAtre ouvert  ***";
  t.open_question =
      "La table d'assignation des commandes a \xE9t\xE9 \xE9"
      "crite dans : controls.txt/Voulez vous l'ouvrir (avec l'\xE9"
      "diteur de texte par d\xE9"
      "faut) ?";
  t.kbdnam = "Clavier";
  t.txtaxe = "Axe";
  t.nokbk =
      "Pas assign\xE9"
      "e \xE0 une touche du clavier";
  t.unass =
      "Non assign\xE9"
      "e";
  t.umsg = "Touches, axes & boutons non utilis\xE9s dans Aerlon";
  t.heading[0] = "Commande";
  t.heading[1] = "Bouton/Axe/Touche";
  t.heading[2] = "P\xE9riph\xE9rique";
  t.differences = "Diff\xE9rences d'affectation entre Aerlon 2 et 3";
  t.none = "Aucune";
  t.unread_log = " n'a pas pu \xEAtre lu : Aerlon # est laiss\xE9 de c\xF4t\xE9.";
  t.unread_tool = " n'a pas pu \xEAtre lu jusqu'au bout.";
  t.simulator_running =
      "# \xE9tait ouvert pendant la lecture des fichiers : ses derniers changements "
      "peuvent manquer ici.";
  t.window_written =
      "Tavlet a \xE9"
      "crit Controls.txt, Controls.csv et la carte de r\xE9"
      "f\xE9rence :";
  t.window_written_no_card =
      "Tavlet a \xE9"
      "crit Controls.txt et Controls.csv dans ";
  t.window_open_card =
      "Tapez C puis Entr\xE9"
      "e pour ouvrir la carte de r\xE9"
      "f\xE9rence.";
  PageWords& w = t.page;
  w.lang = "fr";
  w.title = "Commandes d'Aerlon";
  w.search = "Chercher une commande ou une touche";
  w.version = "Aerlon";
  w.keyboard_iso = "Clavier ISO";
  w.keyboard_ansi = "Clavier US";
  w.keyboard_abnt2 = "Clavier br\xE9silien ABNT2";
  w.found_none = "0 trouv\xE9";
  w.found_one = "1 trouv\xE9";
  w.found = "# trouv\xE9s";
  w.search_taken = "prise|pris";
  w.search_not_known = "pas connue|inconnue|inconnu";
  w.press_key = "Appuyez sur une touche";
  w.kneeboard = "Pages pour planchette";
  w.legend_bound =
      "assign\xE9"
      "e dans Aerlon";
  w.legend_taken = "prise par Palvik ou Serunt";
  w.legend_conflict = "conflit";
  w.legend_free = "libre";
  w.not_known = "inconnue";
  w.not_known_why = "le fichier de # n'a pas pu \xEAtre lu";
  w.may_also = "peut aussi \xEAtre prise par # : son fichier n'a pas pu \xEAtre lu jusqu'au bout";
  w.scroll_hint =
      "Le clavier d\xE9"
      "file de c\xF4t\xE9.";
  w.off_drawing =
      "Touches assign\xE9"
      "es absentes du dessin";
  w.part_shown = "Touches qui ne montrent qu'une partie de ce qu'elles portent";
  w.key_lines =
      "Touches assign\xE9"
      "es ou prises";
  w.free_keys = "Touches libres";
  w.joysticks = "Manettes";
  w.no_joystick = "Aucune section de manette dans ce fichier.";
  w.not_plugged = "P\xE9riph\xE9rique non branch\xE9";
  w.axes = "Axes";
  w.buttons = "Boutons";
  w.free = "libre";
  w.free_many = "libres";
  w.no_command = "aucune commande";
  w.conflicts = "Conflits";
  w.no_conflict = "Aucun conflit.";
  w.taken_by = "prise par";
  w.unbound =
      "Commandes non assign\xE9"
      "es";
  w.command = "Commande";
  w.binding_v2 = "Aerlon 2";
  w.binding_v3 = "Aerlon 3";
  w.name_sep = " : ";
  return t;
}

ReportTexts german() {
  ReportTexts t;
  t.language = Language::german;
  t.shared = &shared_words(Language::german);
  t.input = t.shared->input;
  t.list_separator = ';';
  t.no_installation = "Keine Aerlon-Installation gefunden";
  t.table_unreadable =
      "*** Die Datei # kann nicht ge\xF6"
      "ffnet werden  ***";
  t.open_question =
      "Die Tabelle der Steuerungsbelegung wurde geschrieben in : controls.txt/M\xF6"
      "chten Sie sie \xF6"
      "ffnen (mit dem Standard-Texteditor) ?";
  t.kbdnam = "Tastatur";
  t.txtaxe = "Achse";
  t.nokbk = "Keiner Tastaturtaste zugewiesen";
  t.unass = "Nicht belegt";
  t.umsg = "Tasten, Achsen und Kn\xF6pfe, nicht benutzt in Aerlon";
  t.heading[0] = "Befehl";
  t.heading[1] = "Knopf/Achse/Taste";
  t.heading[2] = "Ger\xE4t";
  t.differences = "Unterschiede der Belegung zwischen Aerlon 2 und 3";
  t.none = "Keine";
  t.unread_log =
      " konnte nicht gelesen werden: Aerlon # bleibt au\xDF"
      "en vor.";
  t.unread_tool = " konnte nicht bis zum Ende gelesen werden.";
  t.simulator_running =
      "# war beim Lesen der Dateien ge\xF6"
      "ffnet: Seine letzten \xC4nderungen fehlen hier "
      "vielleicht.";
  t.window_written =
      "Tavlet hat Controls.txt, Controls.csv und die \xDC"
      "bersichtskarte geschrieben:";
  t.window_written_no_card = "Tavlet hat Controls.txt und Controls.csv geschrieben in ";
  t.window_open_card =
      "Tippen Sie C und dann die Eingabetaste, um die \xDC"
      "bersichtskarte zu \xF6"
      "ffnen.";
  PageWords& w = t.page;
  w.lang = "de";
  w.title = "Aerlon-Steuerung";
  w.search = "Befehl oder Taste suchen";
  w.version = "Aerlon";
  w.keyboard_iso = "ISO-Tastatur";
  w.keyboard_ansi = "US-Tastatur";
  w.keyboard_abnt2 = "Brasilianische ABNT2-Tastatur";
  w.found_none = "0 gefunden";
  w.found_one = "1 gefunden";
  w.found = "# gefunden";
  w.search_taken = "belegt|vergeben";
  w.search_not_known = "nicht bekannt|unbekannt";
  w.press_key =
      "Taste dr\xFC"
      "cken";
  w.kneeboard = "Kniebrett-Seiten";
  w.legend_bound = "belegt in Aerlon";
  w.legend_taken = "von Palvik oder Serunt belegt";
  w.legend_conflict = "Konflikt";
  w.legend_free = "frei";
  w.not_known = "unbekannt";
  w.not_known_why = "die Datei von # konnte nicht gelesen werden";
  w.may_also = "kann auch von # belegt sein: seine Datei konnte nicht bis zum Ende gelesen werden";
  w.scroll_hint = "Die Tastatur l\xE4sst sich seitlich verschieben.";
  w.off_drawing = "Belegte Tasten, die nicht in der Zeichnung sind";
  w.part_shown = "Tasten, die nur einen Teil ihrer Belegung zeigen";
  w.key_lines = "Belegte Tasten";
  w.free_keys = "Freie Tasten";
  w.joysticks = "Joysticks";
  w.no_joystick = "Kein Joystick-Abschnitt in dieser Datei.";
  w.not_plugged = "Ger\xE4t nicht angeschlossen";
  w.axes = "Achsen";
  w.buttons = "Kn\xF6pfe";
  w.free = "frei";
  w.free_many = "frei";
  w.no_command = "kein Befehl belegt";
  w.conflicts = "Konflikte";
  w.no_conflict = "Kein Konflikt.";
  w.taken_by = "belegt von";
  w.unbound = "Nicht belegte Befehle";
  w.command = "Befehl";
  w.binding_v2 = "Aerlon 2";
  w.binding_v3 = "Aerlon 3";
  w.name_sep = ": ";
  return t;
}

}  // namespace

ReportTexts report_texts(Language language) {
  return in_language(language, english, french, german);
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
