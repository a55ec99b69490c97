// Trying a file step again while another program refuses it for a moment:
// antivirus, the search indexer or OneDrive may hold a fresh file for a few
// milliseconds, and a replace refused then would stop a run for nothing.
#ifndef MALVET_SHARED_RETRY_H
#define MALVET_SHARED_RETRY_H

enum class StepOutcome { done, refused, failed };

// Tries between which a refused replace waits 50 ms: about two seconds.
inline constexpr int replace_tries = 40;
inline constexpr unsigned replace_pause_ms = 50;

// Runs `step` until it is done, fails for good, or has been refused `tries`
// times, calling `wait` between two tries. True when it was done.
template <typename Step, typename Wait>
bool retry_while_refused(Step step, Wait wait, int tries) {
  for (int tried = 1;; ++tried) {
    StepOutcome outcome = step();
    if (outcome == StepOutcome::done) return true;
    if (outcome == StepOutcome::failed || tried >= tries) return false;
    wait();
  }
}

#endif
