// Brin23: carries a pilot's Aerlon 2 controls over to Aerlon 3.
#include <cstdio>

#include "shared/messages.h"

int main() {
  bool qfr = IsLanguageFrench() != 0;
  std::printf(" qfr %d\n", qfr ? 1 : 0);
  return 0;
}
