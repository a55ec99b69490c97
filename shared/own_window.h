// The end of a run in a window of its own: a pilot who double-clicked a
// program in Explorer gets a console window that closes the moment the
// program ends, so the run says what it did and waits for Enter first.
#ifndef MALVET_SHARED_OWN_WINDOW_H
#define MALVET_SHARED_OWN_WINDOW_H

#include <optional>
#include <string>
#include <string_view>

// Shows `prompt` (the program's own words) on a line of its own and waits
// for Enter: the line typed before it, trimmed; nothing at the end of the
// input, which closes the window as Enter does.
std::optional<std::string> wait_for_enter(std::string_view prompt);

#endif
