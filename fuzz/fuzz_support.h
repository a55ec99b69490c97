// What every fuzz target does once: a working folder of its own in the
// temporary folder (for the log and the files it writes), dialogs answered
// from an empty script, and the console trace thrown away.
#ifndef MALVET_FUZZ_FUZZ_SUPPORT_H
#define MALVET_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>

// Prepares the process; returns 0 for LLVMFuzzerInitialize.
int prepare_fuzzing();

// Writes the input into the file `name` of the working folder.
void write_input(const std::string& name, const std::uint8_t* data, std::size_t size);

#endif
