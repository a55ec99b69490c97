#include "shared/words.h"

#include <cstdint>

#include "shared/platform.h"

namespace {

constexpr std::uint16_t primary_bits = 0x03FF;
constexpr std::uint16_t primary_french = 0x0C;
constexpr std::uint16_t primary_german = 0x07;

SharedWords english() {
  SharedWords w;
  w.language = Language::english;
  w.not_found = "/not found";
  w.error_opening = "/Error opening";
  w.output_file = "Output file : ";
  w.refusal_held = "/The file is open in another program: close it first.";
  w.refusal_read_only = "/The file is read-only: clear \"Read-only\" in its properties.";
  w.refusal_access_denied =
      "/Access denied: an antivirus or Windows' ransomware protection (controlled folder "
      "access) may guard this folder.";
  w.refusal_undelivered =
      "/OneDrive or the network could not deliver this file: connect, start OneDrive, or "
      "choose 'Always keep on this device'.";
  w.lost_letters =
      "/A file or folder name has letters that this Windows' code page can't hold: see the "
      "guide.";
  w.no_file_chosen = "No file specification returned";
  w.press_enter = "Press Enter to close this window.";
  w.input = {"# Axis", "Button", "Unrecognized key", "Cursor", "Hat switch"};
  return w;
}

SharedWords french() {
  SharedWords w;
  w.language = Language::french;
  w.not_found = "/pas trouv\xE9";
  w.error_opening = "/Ouverture impossible";
  w.output_file = "Fichier de sortie : ";
  w.refusal_held = "/Le fichier est ouvert dans un autre programme : fermez-le d'abord.";
  w.refusal_read_only =
      "/Le fichier est en lecture seule : d\xE9"
      "cochez \"Lecture seule\" dans ses propri\xE9t\xE9s.";
  w.refusal_access_denied =
      "/Acc\xE8s refus\xE9 : l'antivirus ou la protection contre les ran\xE7onlogiciels "
      "(dossiers contr\xF4l\xE9s) de Windows prot\xE8ge peut-\xEAtre ce dossier.";
  w.refusal_undelivered =
      "/OneDrive ou le r\xE9seau n'a pas pu fournir ce fichier : connectez-vous, d\xE9marrez "
      "OneDrive, ou choisissez \xAB Toujours conserver sur cet appareil \xBB.";
  w.lost_letters =
      "/Un nom de fichier ou de dossier a des lettres que la page de code de ce Windows ne "
      "peut pas repr\xE9senter : voir le guide.";
  w.no_file_chosen =
      "Aucun fichier sp\xE9"
      "cifi\xE9";
  w.press_enter =
      "Appuyez sur Entr\xE9"
      "e pour fermer cette fen\xEAtre.";
  w.input = {"Axe #", "Bouton", "Touche non reconnue", "Curseur", "Commande de pouce"};
  return w;
}

SharedWords german() {
  SharedWords w;
  w.language = Language::german;
  w.not_found = "/nicht gefunden";
  w.error_opening =
      "/\xD6"
      "ffnen nicht m\xF6glich";
  w.output_file = "Ausgabedatei : ";
  w.refusal_held =
      "/Die Datei ist in einem anderen Programm ge\xF6"
      "ffnet: schlie\xDF"
      "en Sie sie zuerst.";
  w.refusal_read_only =
      "/Die Datei ist schreibgesch\xFCtzt: entfernen Sie in ihren Eigenschaften das H\xE4"
      "kchen bei \"Schreibgesch\xFCtzt\".";
  w.refusal_access_denied =
      "/Zugriff verweigert: Ein Virenschutz oder der Ransomware-Schutz von Windows "
      "(\xFC"
      "berwachter Ordnerzugriff) sch\xFCtzt vielleicht diesen Ordner.";
  w.refusal_undelivered =
      "/OneDrive oder das Netzwerk konnte diese Datei nicht liefern: Stellen Sie eine "
      "Verbindung her, starten Sie OneDrive oder w\xE4hlen Sie \"Immer auf diesem Ger\xE4t "
      "beibehalten\".";
  w.lost_letters =
      "/Ein Datei- oder Ordnername enth\xE4lt Buchstaben, die die Codepage dieses Windows "
      "nicht darstellen kann: siehe die Anleitung.";
  w.no_file_chosen = "Keine Datei ausgew\xE4hlt";
  w.press_enter =
      "Dr\xFC"
      "cken Sie die Eingabetaste, um dieses Fenster zu schlie\xDF"
      "en.";
  w.input = {"Achse #", "Knopf", "Unbekannte Taste", "Schieberegler", "Rundblickschalter"};
  return w;
}

}  // namespace

Language ui_language(bool english_forced) {
  if (english_forced) return Language::english;
  std::uint16_t primary = user_ui_language() & primary_bits;
  if (primary == primary_french) return Language::french;
  if (primary == primary_german) return Language::german;
  return Language::english;
}

const SharedWords& shared_words(Language language) {
  return in_language(language, english, french, german);
}
