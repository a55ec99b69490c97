// Tavlet: the key-assignment report of the Aerlon simulator's controls.
#include "report/report_run.h"

int main(int argc, char** argv) { return run_report(argc, argv); }
