// The capacities that several modules share, each named once.
#ifndef MALVET_SHARED_LIMITS_H
#define MALVET_SHARED_LIMITS_H

#include <cstddef>
#include <string_view>

// A file or folder name as the programs keep it: the installation record's
// folders, the files a run reads and writes, the log's name.
inline constexpr std::size_t path_capacity = 256;

// What the programs read or copy of a file at a time.
inline constexpr std::size_t file_block = 65536;

// A run's message, before a box shows it.
inline constexpr std::size_t message_capacity = 256;

// True when `name` fits a field of `capacity` whole. A name cut at its
// field's end would name another file: one that does not fit is never
// looked for, read or written under its cut name.
constexpr bool name_fits(std::string_view name, std::size_t capacity = path_capacity) {
  return name.size() <= capacity;
}

#endif
