#include "converter/keep.h"

#include "shared/text.h"

OldFile read_old_file(LineSource& old, const VersionThreeOnly& own) {
  OldFile file;
  std::size_t held = 0;
  while (std::optional<std::string> line = old.next()) {
    if (is_blank(*line)) continue;
    bool header = (*line)[0] == '[';
    KeyVal kv = header ? KeyVal() : extract_key_val(*line);
    std::optional<std::int32_t> number = header ? std::nullopt : read_whole_number(kv.key);
    if (!header && (!number || file.sections.empty())) continue;
    if (++held > max_old_lines) {
      file.read = OldFile::Read::too_long;
      file.sections.clear();
      return file;
    }
    if (header) {
      file.sections.push_back({trim(*line), {}});
    } else {
      file.sections.back().bindings.push_back(
          {binding_line(*number, kv.val), trim(kv.val), own(*number)});
    }
  }
  if (old.failed()) {
    file.read = OldFile::Read::failed;
    file.sections.clear();
  }
  return file;
}

Keeper::Keeper(const std::vector<OldSection>& old) : old_(old), met_(old.size(), false) {
  for (std::size_t i = 0; i < old.size(); ++i) sections_of_[old[i].header].push_back(i);
}

std::vector<MergedLine> Keeper::take(const ConvertedLine& line) {
  std::vector<MergedLine> out;
  if (line.header) {
    end_section(out);
    auto found = sections_of_.find(line.text);
    if (found != sections_of_.end() && !met_[found->second.front()]) {
      for (std::size_t i : found->second) {
        met_[i] = true;
        for (const OldBinding& binding : old_[i].bindings) {
          if (!binding.own) continue;
          candidates_of_[binding.value].push_back(candidates_.size());
          candidates_.push_back(&binding);
        }
      }
      taken_now_.assign(candidates_.size(), false);
    }
  } else if (!line.value.empty()) {
    auto found = candidates_of_.find(line.value);
    if (found != candidates_of_.end()) {
      for (std::size_t c : found->second) taken_now_[c] = true;
    }
  }
  out.push_back({MergedLine::Kind::converted, line.text});
  return out;
}

std::vector<MergedLine> Keeper::finish() {
  std::vector<MergedLine> out;
  end_section(out);
  for (std::size_t i = 0; i < old_.size(); ++i) {
    if (met_[i]) continue;
    out.push_back({MergedLine::Kind::kept, old_[i].header});
    for (const OldBinding& binding : old_[i].bindings) {
      out.push_back({MergedLine::Kind::kept, binding.line});
      ++kept_;
    }
  }
  return out;
}

void Keeper::end_section(std::vector<MergedLine>& out) {
  for (std::size_t c = 0; c < candidates_.size(); ++c) {
    if (taken_now_[c]) {
      out.push_back({MergedLine::Kind::taken, candidates_[c]->line});
      ++taken_;
    } else {
      out.push_back({MergedLine::Kind::kept, candidates_[c]->line});
      ++kept_;
    }
  }
  candidates_.clear();
  taken_now_.clear();
  candidates_of_.clear();
}
