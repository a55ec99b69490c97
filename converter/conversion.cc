#include "converter/conversion.h"

#include "shared/controls_grammar.h"
#include "shared/text.h"

namespace {

// The version-3 line that a line of the source is.
std::optional<ConvertedLine> converted(const ControlsLine& line, const CommandMap& k_v3) {
  if (line.kind == ControlsLine::Kind::blank) return std::nullopt;
  if (line.kind == ControlsLine::Kind::header)
    return ConvertedLine{std::string(line.header), true, "", 0};
  std::optional<std::int32_t> mcmd = in_command_table(line.number);
  if (!mcmd || k_v3[static_cast<std::size_t>(*mcmd)] < 0) return std::nullopt;
  std::int32_t v3 = k_v3[static_cast<std::size_t>(*mcmd)];
  return ConvertedLine{binding_line(v3, line.value), false, trim(line.value), v3};
}

}  // namespace

VersionThreeOnly::VersionThreeOnly(const CommandMap& k_v3)
    : converted_to_(highest_command + 1, false) {
  for (std::int32_t v3 : k_v3) {
    if (v3 >= 0) converted_to_[static_cast<std::size_t>(v3)] = true;
  }
}

bool VersionThreeOnly::operator()(std::int32_t v3) const {
  return v3 < 0 || v3 > highest_command || !converted_to_[static_cast<std::size_t>(v3)];
}

std::string binding_line(std::int32_t number, std::string_view value) {
  // i2b's widest field holds every number whole, its sign included.
  return i2b(number) + "=" + trim(value);
}

std::optional<ConvertedLine> convert_line(std::string_view line, const CommandMap& k_v3) {
  return converted(read_controls_line(line), k_v3);
}

bool convert_lines(LineSource& source, const CommandMap& k_v3,
                   const std::function<void(const ConvertedLine&)>& emit) {
  return walk_controls_file(source, [&](const ControlsLine& line) {
    if (std::optional<ConvertedLine> made = converted(line, k_v3)) emit(*made);
  });
}

bool account_lines(LineSource& source, const CommandMap& k_v3,
                   const std::function<void(const SourceLine&, const ConvertedLine*)>& each) {
  std::size_t number = 0;
  return walk_controls_file(source, [&](const ControlsLine& line) {
    ++number;
    if (line.kind == ControlsLine::Kind::blank) return;
    std::optional<ConvertedLine> made = converted(line, k_v3);
    SourceLine told;
    told.number = number;
    told.text = line.line;
    if (line.kind == ControlsLine::Kind::entry) {
      told.v2 = in_command_table(line.number);
      told.value = trim(line.value);
      told.fate = !told.v2 ? Fate::unreadable : made ? Fate::carried : Fate::not_carried;
      if (made) told.v3 = made->number;
    }
    each(told, made ? &*made : nullptr);
  });
}
