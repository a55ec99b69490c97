// Tavlet's run, from the installation discovery to the offer to open the
// report: returns the process's exit status, 0 after a normal run and 1 after
// an error that stopped it (shown in an error box first).
#ifndef MALVET_REPORT_REPORT_RUN_H
#define MALVET_REPORT_REPORT_RUN_H

int run_report(int argc, char** argv);

#endif
