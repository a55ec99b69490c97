// Brin23's run: a pilot's version-2 controls.ini written anew as the
// version-3 one, through the table A2-A3.txt of command numbers, after a
// numbered backup of the version-3 file. Returns the process's exit status,
// 0 after a normal run and 1 after an error that stopped it (shown in an
// error box first).
#ifndef MALVET_CONVERTER_CONVERT_RUN_H
#define MALVET_CONVERTER_CONVERT_RUN_H

int run_conversion(int argc, char** argv);

#endif
