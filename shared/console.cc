#include "shared/console.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "shared/machine_text.h"
#include "shared/platform.h"

namespace {

void console_vprintf(const char* format, std::va_list args) {
  std::va_list again;
  va_copy(again, args);
  char small[512];
  int n = std::vsnprintf(small, sizeof small, format, args);
  if (n < 0) {
    va_end(again);
    return;
  }
  if (static_cast<std::size_t>(n) < sizeof small) {
    va_end(again);
    console_write(std::string_view(small, static_cast<std::size_t>(n)));
    return;
  }
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), format, again);
  va_end(again);
  text.resize(static_cast<std::size_t>(n));
  console_write(text);
}

}  // namespace

void console_printf(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  console_vprintf(format, args);
  va_end(args);
}

void trace_printf(Trace trace, const char* format, ...) {
  if (trace == Trace::no) return;
  std::va_list args;
  va_start(args, format);
  console_vprintf(format, args);
  va_end(args);
}

void console_write(std::string_view text) { write_standard_output(text); }

void console_own(std::string_view own) {
  write_standard_output(own_to_utf16(own), own_in_code_page(own));
}

void console_parts(std::initializer_list<TextPart> parts) {
  for (const TextPart& part : parts) {
    if (part.own) {
      console_own(part.text);
    } else {
      console_write(part.text);
    }
  }
}
