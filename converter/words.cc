#include "converter/words.h"

namespace {

Brin23Words english() {
  Brin23Words w;
  w.shared = &shared_words(Language::english);
  w.zero_is_one = false;
  w.msgpltfldr = "Please select the current pilot's folder/Default= ";
  w.no_installation = "*** No Aerlon installation found (2 or 3) ***";
  w.simulator_running = "Aerlon 3 is running: close it, then start Brin23 again.";
  w.running_unknown = "Brin23 can't tell whether Aerlon 3 is running: Windows gave no list of the programs running. Close Aerlon 3 if it is open, then start Brin23 again.";
  w.log_unread_choose = "/could not be read (another program may hold it open), so Brin23 can't tell the pilot's folder: choose the pilot's controls.ini in the next window.";
  w.backup_file = "Backup file : ";
  w.own_temporary_file =
      "/is the file Brin23 writes the new controls.ini into: choose another file";
  w.changed_while_read = "/changed while it was read: close Aerlon 2, then start Brin23 again";
  w.too_many_to_keep = "/more than # lines: too many to keep";
  w.no_backup = "/no backup found";
  w.no_older_backup = "/no older backup";
  w.restored_from = "restored from ";
  w.same_as_current = "same as controls.ini: ";
  w.undo_from_newest = "The record of Brin23's runs does not tell where this file stands (it changed since, or the record is missing or unreadable): going back from the newest backup.";
  w.mark_kept = "   (kept)";
  w.mark_taken = "   (left out: its value is bound anew)";
  w.mark_set_aside = "   (left out: its device would pass for the keyboard)";
  w.kept = {"kept 1 binding of version 3", "kept # bindings of version 3"};
  w.taken = {"; left out 1 whose value a binding of version 2 now has",
             "; left out # whose value a binding of version 2 now has"};
  w.note_before = {"1 binding of version 3 is not in the new file: the backup ",
                   "# bindings of version 3 are not in the new file: the backup "};
  w.note_after = {
      " holds it; Brin23 -undo, then Brin23 -keep, keeps it (double-click Brin23-undo.cmd, "
      "then Brin23-keep.cmd).",
      " holds them; Brin23 -undo, then Brin23 -keep, keeps them (double-click "
      "Brin23-undo.cmd, then Brin23-keep.cmd)."};
  w.hint = "This file held no binding of version 3's own, but the backup ";
  w.hint_holds = {" holds 1: ", " holds #: "};
  w.hint_undos = {"Brin23 -undo once", "Brin23 -undo # times"};
  w.hint_undos_unknown = "Brin23 -undo until it is back";
  w.hint_then = {
      ", then Brin23 -keep, keeps it (double-click Brin23-undo.cmd, then Brin23-keep.cmd).",
      ", then Brin23 -keep, keeps them (double-click Brin23-undo.cmd, then "
      "Brin23-keep.cmd)."};
  w.new_differs = "/The new file did not read back as Brin23 wrote it: ";
  w.copy_differs = "/did not read back as a copy of the file: ";
  w.line_written = "line #: written `";
  w.line_read = "`, read `";
  w.line_end = "`";
  w.new_kept_as = "/This file is unchanged; what Brin23 wrote is kept as ";
  w.copy_removed = "/The file is unchanged; the faulty copy is removed.";
  w.receipt_line = "Receipt: ";
  w.done_written = "Done: this file is written anew: ";
  w.done_unchanged = "No binding to write: this file stays as it was: ";
  w.done_restored = "Done: this file is put back as it was: ";
  w.kept_as = "The file it replaced is kept as ";
  w.nothing_replaced = "There was no file to replace.";
  w.summary_counts = "Bindings from Aerlon 2: #. Kept from Aerlon 3: #. Left out: #.";
  w.summary_left_out = {
      "1 binding of Aerlon 3's own is left out: to get it back, double-click "
      "Brin23-undo.cmd, then Brin23-keep.cmd.",
      "# bindings of Aerlon 3's own are left out: to get them back, double-click "
      "Brin23-undo.cmd, then Brin23-keep.cmd."};
  ReceiptWords& r = w.receipt;
  r.file_suffix = "_receipt.txt";
  r.heading_done = "Brin23: what this conversion did";
  r.heading_check = "Nothing was written: this is what Brin23 would do";
  r.heading_would_empty = "Brin23 stopped before writing anything: the source has no binding that Aerlon 3 can take. Is it an Aerlon 2 controls.ini?";
  r.source = "Source:";
  r.target = "Target:";
  r.backup = "Backup:";
  r.mode = "Mode:";
  r.table = "Table:";
  r.read_back = "Read back:";
  r.backup_none = "none: there was no file to replace";
  r.backup_undo = " (to go back: double-click Brin23-undo.cmd)";
  r.backup_check = "none made; a conversion would keep the file it replaces as ";
  r.mode_plain = "plain conversion";
  r.mode_keep = "-keep: the bindings of Aerlon 3's own are kept";
  r.mode_in_place = "-3: the Aerlon 3 file converted in place";
  r.read_back_lines = "# {line|lines}, as written";
  r.sum_read = "Aerlon 2 bindings read: # = # carried + # under a new name + # not carried + # unreadable";
  r.sum_written = "Written to Aerlon 3: # from Aerlon 2 + # kept from the old file; of the old file's own bindings, # left out";
  r.not_carried = "Not carried: Aerlon 3 has no such command";
  r.unreadable = "Unreadable: lines with no command number Brin23 can read";
  r.left_out = "Left out of the old Aerlon 3 file";
  r.renamed = "Carried under a new name";
  r.devices = "Devices";
  r.carried = "Carried";
  r.none = "None";
  r.keyboard = "Keyboard";
  r.not_plugged = "not plugged in, carried as it is";
  r.before_sections = "Before the first section";
  r.section_counts = "# {line|lines}: # carried, # under a new name, # not carried, # unreadable";
  r.line = "line #: ";
  r.now_taken = "; now taken by ";
  r.would_be_keyboard = "; left out: its device would pass for the keyboard";
  r.sep = ": ";
  r.unread_table = "# could not be read: what it names is given by number.";
  r.key_number = "Key #";
  r.receipt_named = "Every binding by name: ";
  r.open_it = "Type C then Enter to open it.";
  r.would_empty = "/has no binding that Aerlon 3 can take: is it an Aerlon 2 controls.ini? Nothing was changed.";
  return w;
}

Brin23Words french() {
  Brin23Words w;
  w.shared = &shared_words(Language::french);
  w.zero_is_one = true;
  w.msgpltfldr =
      "S\xE9lectionnez le dossier du pilote courant/Par d\xE9"
      "faut :";
  w.no_installation =
      "*** Aucune installation de Aerlon (2 ou 3) trouv\xE9"
      "e ***";
  w.simulator_running = "Aerlon 3 est ouvert : fermez-le, puis relancez Brin23.";
  w.running_unknown = "Brin23 ne peut pas savoir si Aerlon 3 est ouvert : Windows n'a pas donn\xE9 la liste des programmes ouverts. Fermez Aerlon 3 s'il est ouvert, puis relancez Brin23.";
  w.log_unread_choose = "/n'a pas pu \xEAtre lu (un autre programme le tient peut-\xEAtre ouvert) : Brin23 ne peut donc pas trouver le dossier du pilote. Choisissez le controls.ini du pilote dans la fen\xEAtre suivante.";
  w.backup_file = "Fichier de sauvegarde : ";
  w.own_temporary_file =
      "/est le fichier o\xF9 Brin23 \xE9"
      "crit le nouveau controls.ini : choisissez-en un autre";
  w.changed_while_read = "/a chang\xE9 pendant la lecture : fermez Aerlon 2, puis relancez Brin23";
  w.too_many_to_keep = "/plus de # lignes : trop pour les garder";
  w.no_backup =
      "/aucune sauvegarde trouv\xE9"
      "e";
  w.no_older_backup = "/aucune sauvegarde plus ancienne";
  w.restored_from = "restaur\xE9 depuis ";
  w.same_as_current = "identique \xE0 controls.ini : ";
  w.undo_from_newest = "Le registre des passages de Brin23 ne dit pas o\xF9 en est ce fichier (il a chang\xE9 depuis, ou le registre manque ou est illisible) : retour depuis la sauvegarde la plus r\xE9" "cente.";
  w.mark_kept =
      "   (gard\xE9"
      "e)";
  w.mark_taken =
      "   (laiss\xE9"
      "e : sa valeur est reprise)";
  w.mark_set_aside = "   (laiss\xE9" "e de c\xF4t\xE9 : son p\xE9riph\xE9rique passerait pour le clavier)";
  w.kept = {
      "1 assignation de la version 3 gard\xE9"
      "e",
      "# assignations de la version 3 gard\xE9"
      "es"};
  w.taken = {
      "; 1 laiss\xE9"
      "e, leur valeur \xE9tant reprise par une assignation de la version 2",
      "; # laiss\xE9"
      "es, leur valeur \xE9tant reprise par une assignation de la version 2"};
  w.note_before = {
      "1 assignation de la version 3 n'est pas dans le nouveau fichier : la sauvegarde ",
      "# assignations de la version 3 ne sont pas dans le nouveau fichier : la sauvegarde "};
  w.note_after = {
      " la contient ; Brin23 -undo, puis Brin23 -keep, la garde (par double-clic : "
      "Brin23-undo.cmd, puis Brin23-keep.cmd).",
      " les contient ; Brin23 -undo, puis Brin23 -keep, les garde (par double-clic : "
      "Brin23-undo.cmd, puis Brin23-keep.cmd)."};
  w.hint =
      "Ce fichier ne contenait aucune assignation propre \xE0 la version 3, mais la "
      "sauvegarde ";
  w.hint_holds = {" en contient 1 : ", " en contient # : "};
  w.hint_undos = {"Brin23 -undo une fois", "Brin23 -undo # fois"};
  w.hint_undos_unknown = "Brin23 -undo jusqu'\xE0 ce qu'elle revienne";
  w.hint_then = {
      ", puis Brin23 -keep, la garde (par double-clic : Brin23-undo.cmd, puis "
      "Brin23-keep.cmd).",
      ", puis Brin23 -keep, les garde (par double-clic : Brin23-undo.cmd, puis "
      "Brin23-keep.cmd)."};
  w.new_differs = "/Le nouveau fichier ne se relit pas tel que Brin23 l'a \xE9" "crit : ";
  w.copy_differs = "/ne se relit pas comme une copie du fichier : ";
  w.line_written = "ligne # : \xE9" "crit `";
  w.line_read = "`, lu `";
  w.line_end = "`";
  w.new_kept_as = "/Ce fichier est inchang\xE9 ; ce que Brin23 a \xE9" "crit est gard\xE9 sous ";
  w.copy_removed = "/Le fichier est inchang\xE9 ; la copie fautive est supprim\xE9" "e.";
  w.receipt_line = "Compte rendu : ";
  w.done_written =
      "Termin\xE9 : ce fichier est \xE9"
      "crit \xE0 nouveau : ";
  w.done_unchanged =
      "Aucune assignation \xE0 \xE9"
      "crire : ce fichier reste tel quel : ";
  w.done_restored = "Termin\xE9 : ce fichier est remis comme il \xE9tait : ";
  w.kept_as = "Le fichier remplac\xE9 est gard\xE9 sous ";
  w.nothing_replaced = "Il n'y avait pas de fichier \xE0 remplacer.";
  w.summary_counts =
      "Assignations reprises d'Aerlon 2 : #. Gard\xE9"
      "es d'Aerlon 3 : #. Laiss\xE9"
      "es de c\xF4t\xE9 : #.";
  w.summary_left_out = {
      "1 assignation propre \xE0 Aerlon 3 est laiss\xE9"
      "e de c\xF4t\xE9 : pour la retrouver, double-cliquez sur Brin23-undo.cmd, puis sur "
      "Brin23-keep.cmd.",
      "# assignations propres \xE0 Aerlon 3 sont laiss\xE9"
      "es de c\xF4t\xE9 : pour les retrouver, double-cliquez sur Brin23-undo.cmd, puis sur "
      "Brin23-keep.cmd."};
  ReceiptWords& r = w.receipt;
  r.file_suffix = "_compte-rendu.txt";
  r.heading_done = "Brin23 : ce que cette conversion a fait";
  r.heading_check = "Rien n'a \xE9t\xE9 \xE9" "crit : voici ce que Brin23 ferait";
  r.heading_would_empty = "Brin23 s'est arr\xEAt\xE9 avant d'\xE9" "crire quoi que ce soit : la source ne contient aucune assignation qu'Aerlon 3 puisse reprendre. Est-ce bien un controls.ini d'Aerlon 2 ?";
  r.source = "Source :";
  r.target = "Cible :";
  r.backup = "Sauvegarde :";
  r.mode = "Mode :";
  r.table = "Table :";
  r.read_back = "Relu :";
  r.backup_none = "aucune : il n'y avait pas de fichier \xE0 remplacer";
  r.backup_undo = " (pour revenir en arri\xE8re : double-cliquez sur Brin23-undo.cmd)";
  r.backup_check = "aucune ; une conversion garderait le fichier remplac\xE9 sous ";
  r.mode_plain = "conversion simple";
  r.mode_keep = "-keep : les assignations propres \xE0 Aerlon 3 sont gard\xE9" "es";
  r.mode_in_place = "-3 : le fichier d'Aerlon 3 converti sur place";
  r.read_back_lines = "# {ligne, telle qu'\xE9" "crite|lignes, telles qu'\xE9" "crites}";
  r.sum_read = "Assignations d'Aerlon 2 lues : # = # {reprise|reprises} + # sous un nouveau nom + # {non reprise|non reprises} + # {illisible|illisibles}";
  r.sum_written = "\xC9" "crites pour Aerlon 3 : # d'Aerlon 2 + # {gard\xE9" "e|gard\xE9" "es} de l'ancien fichier ; des assignations propres \xE0 l'ancien fichier, # {laiss\xE9" "e|laiss\xE9" "es} de c\xF4t\xE9";
  r.not_carried = "Non reprises : Aerlon 3 n'a pas cette commande";
  r.unreadable = "Illisibles : lignes sans num\xE9ro de commande que Brin23 puisse lire";
  r.left_out = "Laiss\xE9" "es de c\xF4t\xE9 de l'ancien fichier d'Aerlon 3";
  r.renamed = "Reprises sous un nouveau nom";
  r.devices = "P\xE9riph\xE9riques";
  r.carried = "Reprises";
  r.none = "Aucune";
  r.keyboard = "Clavier";
  r.not_plugged = "non branch\xE9, repris tel quel";
  r.before_sections = "Avant la premi\xE8re section";
  r.section_counts = "# {ligne|lignes} : # {reprise|reprises}, # sous un nouveau nom, # {non reprise|non reprises}, # {illisible|illisibles}";
  r.line = "ligne # : ";
  r.now_taken = " ; d\xE9sormais prise par ";
  r.would_be_keyboard = " ; laiss\xE9" "e de c\xF4t\xE9 : son p\xE9riph\xE9rique passerait pour le clavier";
  r.sep = " : ";
  r.unread_table = "# n'a pas pu \xEAtre lu : ce qu'il nomme est donn\xE9 par son num\xE9ro.";
  r.key_number = "Touche #";
  r.receipt_named = "Chaque assignation par son nom : ";
  r.open_it = "Tapez C puis Entr\xE9" "e pour ouvrir le compte rendu.";
  r.would_empty = "/ne contient aucune assignation qu'Aerlon 3 puisse reprendre : est-ce bien un controls.ini d'Aerlon 2 ? Rien n'a \xE9t\xE9 modifi\xE9.";
  return w;
}

Brin23Words german() {
  Brin23Words w;
  w.shared = &shared_words(Language::german);
  w.zero_is_one = false;
  w.msgpltfldr = "W\xE4hlen Sie den Ordner des aktuellen Piloten/Vorgabe: ";
  w.no_installation = "*** Keine Aerlon-Installation gefunden (2 oder 3) ***";
  w.simulator_running =
      "Aerlon 3 ist ge\xF6"
      "ffnet: Schlie\xDF"
      "en Sie es und starten Sie Brin23 dann erneut.";
  w.running_unknown = "Brin23 kann nicht feststellen, ob Aerlon 3 l\xE4uft: Windows hat die Liste der laufenden Programme nicht geliefert. Schlie\xDF" "en Sie Aerlon 3, falls es ge\xF6" "ffnet ist, und starten Sie Brin23 dann erneut.";
  w.log_unread_choose = "/konnte nicht gelesen werden (vielleicht h\xE4lt ein anderes Programm sie offen), deshalb findet Brin23 den Pilotenordner nicht: W\xE4hlen Sie im n\xE4" "chsten Fenster die controls.ini des Piloten.";
  w.backup_file = "Sicherungsdatei : ";
  w.own_temporary_file =
      "/ist die Datei, in die Brin23 die neue controls.ini schreibt: W\xE4hlen Sie eine andere";
  w.changed_while_read =
      "/hat sich beim Lesen ge\xE4ndert: Schlie\xDF"
      "en Sie Aerlon 2 und starten Sie Brin23 "
      "dann erneut";
  w.too_many_to_keep = "/mehr als # Zeilen: zu viele zum Behalten";
  w.no_backup = "/keine Sicherung gefunden";
  w.no_older_backup = "/keine \xE4ltere Sicherung";
  w.restored_from = "wiederhergestellt aus ";
  w.same_as_current = "gleich wie controls.ini: ";
  w.undo_from_newest = "Die Aufzeichnung der L\xE4ufe von Brin23 sagt nicht, wo diese Datei steht (sie hat sich seither ge\xE4ndert, oder die Aufzeichnung fehlt oder ist unlesbar): zur\xFC" "ck ab der neuesten Sicherung.";
  w.mark_kept = "   (behalten)";
  w.mark_taken = "   (weggelassen: ihr Wert ist neu belegt)";
  w.mark_set_aside = "   (weggelassen: Ihr Ger\xE4t g\xE4lte sonst als Tastatur)";
  w.kept = {"1 Belegung der Version 3 behalten", "# Belegungen der Version 3 behalten"};
  w.taken = {"; 1 weggelassen, weil eine Belegung der Version 2 jetzt ihren Wert hat",
             "; # weggelassen, weil Belegungen der Version 2 jetzt ihren Wert haben"};
  w.note_before = {"1 Belegung der Version 3 ist nicht in der neuen Datei: Die Sicherung ",
                   "# Belegungen der Version 3 sind nicht in der neuen Datei: Die Sicherung "};
  w.note_after = {
      " enth\xE4lt sie; Brin23 -undo, dann Brin23 -keep, beh\xE4lt sie (per Doppelklick: "
      "Brin23-undo.cmd, dann Brin23-keep.cmd).",
      " enth\xE4lt sie; Brin23 -undo, dann Brin23 -keep, beh\xE4lt sie (per Doppelklick: "
      "Brin23-undo.cmd, dann Brin23-keep.cmd)."};
  w.hint = "Diese Datei enthielt keine eigene Belegung der Version 3, aber die Sicherung ";
  w.hint_holds = {" enth\xE4lt 1: ", " enth\xE4lt #: "};
  w.hint_undos = {"Brin23 -undo einmal", "Brin23 -undo #-mal"};
  w.hint_undos_unknown =
      "Brin23 -undo, bis sie zur\xFC"
      "ck ist";
  w.hint_then = {
      ", dann Brin23 -keep, beh\xE4lt sie (per Doppelklick: Brin23-undo.cmd, dann "
      "Brin23-keep.cmd).",
      ", dann Brin23 -keep, beh\xE4lt sie (per Doppelklick: Brin23-undo.cmd, dann "
      "Brin23-keep.cmd)."};
  w.new_differs = "/Die neue Datei liest sich nicht so, wie Brin23 sie geschrieben hat: ";
  w.copy_differs = "/liest sich nicht als Kopie der Datei: ";
  w.line_written = "Zeile #: geschrieben `";
  w.line_read = "`, gelesen `";
  w.line_end = "`";
  w.new_kept_as = "/Diese Datei ist unver\xE4ndert; was Brin23 geschrieben hat, ist gesichert als ";
  w.copy_removed = "/Die Datei ist unver\xE4ndert; die fehlerhafte Kopie ist entfernt.";
  w.receipt_line = "Bericht: ";
  w.done_written = "Fertig: Diese Datei ist neu geschrieben: ";
  w.done_unchanged = "Keine Belegung zu schreiben: Diese Datei bleibt, wie sie war: ";
  w.done_restored = "Fertig: Diese Datei ist wieder, wie sie war: ";
  w.kept_as = "Die ersetzte Datei ist gesichert als ";
  w.nothing_replaced = "Es gab keine Datei zu ersetzen.";
  w.summary_counts = "Belegungen aus Aerlon 2: #. Aus Aerlon 3 behalten: #. Weggelassen: #.";
  w.summary_left_out = {
      "1 eigene Belegung von Aerlon 3 ist weggelassen: Um sie zur\xFC"
      "ckzuholen, "
      "doppelklicken Sie auf Brin23-undo.cmd, dann auf Brin23-keep.cmd.",
      "# eigene Belegungen von Aerlon 3 sind weggelassen: Um sie zur\xFC"
      "ckzuholen, "
      "doppelklicken Sie auf Brin23-undo.cmd, dann auf Brin23-keep.cmd."};
  ReceiptWords& r = w.receipt;
  r.file_suffix = "_Bericht.txt";
  r.heading_done = "Brin23: was diese Umsetzung getan hat";
  r.heading_check = "Nichts wurde geschrieben: Das w\xFCrde Brin23 tun";
  r.heading_would_empty = "Brin23 hat angehalten, bevor etwas geschrieben wurde: Die Quelle enth\xE4lt keine Belegung, die Aerlon 3 \xFC" "bernehmen kann. Ist es eine controls.ini von Aerlon 2?";
  r.source = "Quelle:";
  r.target = "Ziel:";
  r.backup = "Sicherung:";
  r.mode = "Modus:";
  r.table = "Tabelle:";
  r.read_back = "Nachgelesen:";
  r.backup_none = "keine: Es gab keine Datei zu ersetzen";
  r.backup_undo = " (zur\xFC" "ck: Doppelklick auf Brin23-undo.cmd)";
  r.backup_check = "keine angelegt; eine Umsetzung w\xFCrde die ersetzte Datei sichern als ";
  r.mode_plain = "einfache Umsetzung";
  r.mode_keep = "-keep: Die eigenen Belegungen von Aerlon 3 bleiben erhalten";
  r.mode_in_place = "-3: Die Datei von Aerlon 3 wird an Ort und Stelle umgesetzt";
  r.read_back_lines = "# {Zeile|Zeilen}, wie geschrieben";
  r.sum_read = "Gelesene Belegungen von Aerlon 2: # = # \xFC" "bernommen + # unter neuem Namen + # nicht \xFC" "bernommen + # unlesbar";
  r.sum_written = "F\xFCr Aerlon 3 geschrieben: # aus Aerlon 2 + # aus der alten Datei behalten; von den eigenen Belegungen der alten Datei # weggelassen";
  r.not_carried = "Nicht \xFC" "bernommen: Aerlon 3 hat diesen Befehl nicht";
  r.unreadable = "Unlesbar: Zeilen ohne Befehlsnummer, die Brin23 lesen kann";
  r.left_out = "Aus der alten Datei von Aerlon 3 weggelassen";
  r.renamed = "Unter neuem Namen \xFC" "bernommen";
  r.devices = "Ger\xE4te";
  r.carried = "\xDC" "bernommen";
  r.none = "Keine";
  r.keyboard = "Tastatur";
  r.not_plugged = "nicht angeschlossen, unver\xE4ndert \xFC" "bernommen";
  r.before_sections = "Vor dem ersten Abschnitt";
  r.section_counts = "# {Zeile|Zeilen}: # \xFC" "bernommen, # unter neuem Namen, # nicht \xFC" "bernommen, # unlesbar";
  r.line = "Zeile #: ";
  r.now_taken = "; jetzt belegt von ";
  r.would_be_keyboard = "; weggelassen: Ihr Ger\xE4t g\xE4lte sonst als Tastatur";
  r.sep = ": ";
  r.unread_table = "# konnte nicht gelesen werden: Was sie benennt, steht als Nummer da.";
  r.key_number = "Taste #";
  r.receipt_named = "Jede Belegung mit Namen: ";
  r.open_it = "Tippen Sie C und dann die Eingabetaste, um den Bericht zu \xF6" "ffnen.";
  r.would_empty = "/enth\xE4lt keine Belegung, die Aerlon 3 \xFC" "bernehmen kann: Ist es eine controls.ini von Aerlon 2? Nichts wurde ge\xE4ndert.";
  return w;
}

}  // namespace

std::string count_text(const CountText& text, std::size_t n) {
  std::string out = n == 1 ? text.one : text.many;
  for (std::size_t at = out.find('#'); at != std::string::npos; at = out.find('#', at)) {
    std::string number = std::to_string(n);
    out.replace(at, 1, number);
    at += number.size();
  }
  return out;
}

std::string numbers_text(const std::string& text, std::initializer_list<std::size_t> numbers,
                         bool zero_is_one) {
  std::string out = text;
  std::size_t at = 0;
  for (std::size_t n : numbers) {
    at = out.find('#', at);
    if (at == std::string::npos) break;
    std::string number = std::to_string(n);
    out.replace(at, 1, number);
    at += number.size();
    // "{one|many}" after it: the form the number takes.
    std::size_t bar = out.find('|', at), close = out.find('}', at);
    if (out.compare(at, 2, " {") != 0 || bar == std::string::npos || close < bar) continue;
    bool one = n == 1 || (zero_is_one && n == 0);
    std::string form = one ? out.substr(at + 2, bar - at - 2) : out.substr(bar + 1, close - bar - 1);
    out.replace(at + 1, close - at, form);
    at += 1 + form.size();
  }
  return out;
}

const Brin23Words& brin23_words(Language language) {
  return in_language(language, english, french, german);
}
