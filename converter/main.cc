// Brin23: carries a pilot's Aerlon 2 controls over to Aerlon 3.
#include "converter/convert_run.h"

int main(int argc, char** argv) { return run_conversion(argc, argv); }
