#include "converter/keep.h"

#include "shared/controls_grammar.h"
#include "shared/text.h"

std::size_t OldFile::own_bindings() const {
  std::size_t n = 0;
  for (const OldSection& section : sections) {
    for (const OldBinding& binding : section.bindings) n += binding.own ? 1 : 0;
  }
  return n;
}

std::size_t OldFile::bindings() const {
  std::size_t n = 0;
  for (const OldSection& section : sections) n += section.bindings.size();
  return n;
}

OldFile read_old_file(LineSource& old, const VersionThreeOnly& own) {
  OldFile file;
  std::size_t held = 0;
  bool read = walk_controls_file(old, [&](const ControlsLine& line) {
    bool header = line.kind == ControlsLine::Kind::header;
    bool binding = line.kind == ControlsLine::Kind::entry && line.number && !file.sections.empty();
    // Past what it may hold, nothing more is kept.
    if ((!header && !binding) || file.read == OldFile::Read::too_long) return;
    if (++held > max_old_lines) {
      file.read = OldFile::Read::too_long;
      file.sections.clear();
    } else if (header) {
      file.sections.push_back({std::string(line.header), {}});
    } else {
      std::int32_t number = *line.number;
      file.sections.back().bindings.push_back(
          {binding_line(number, line.value), number, trim(line.value), own(number)});
    }
  });
  if (!read && file.read == OldFile::Read::whole) {
    file.read = OldFile::Read::failed;
    file.sections.clear();
  }
  return file;
}

std::string section_key(std::string_view header) {
  std::string key(section_name(header));
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

Keeper::Keeper(const std::vector<OldSection>& old) : old_(old) {
  for (std::size_t i = 0; i < old.size(); ++i) {
    auto [at, made] = group_index_.emplace(section_key(old[i].header), groups_.size());
    if (made) groups_.emplace_back();
    Group& group = groups_[at->second];
    group.sections.push_back(i);
    for (const OldBinding& binding : old[i].bindings) {
      if (!binding.own) continue;
      group.candidates.push_back(&binding);
      if (std::optional<Input> key = input_of(binding.number, binding.value, true)) {
        group.keys.insert(key->index);
      }
      if (std::optional<Input> t = input_of(binding.number, binding.value, false)) {
        (t->kind == Input::Kind::axis ? group.axes : group.buttons).insert(t->index);
      }
    }
    group.taken_by.assign(group.candidates.size(), std::nullopt);
  }
}

Keeper::Group* Keeper::group_of(const std::string& header) {
  auto found = group_index_.find(section_key(header));
  return found == group_index_.end() ? nullptr : &groups_[found->second];
}

void Keeper::look_at(const ConvertedLine& line) {
  if (line.header) {
    std::size_t section = keyboard_.begin_section();
    key_commands_.push_back(0);
    looking_key_ = section_key(line.text);
    looking_ = group_of(line.text);
    if (looking_ != nullptr) {
      looking_->in_new_file = true;
      if (!looking_->first_section) looking_->first_section = section;
    }
    return;
  }
  if (!key_commands_.empty() && is_key_command(line.number)) ++key_commands_.back();
  if (keyboard_.entry(line.number)) best_key_ = looking_key_;
  if (looking_ == nullptr || looking_->candidates.empty()) return;
  std::optional<Input> key = input_of(line.number, line.value, true);
  if (key && looking_->keys.count(key->index) != 0) {
    looking_->keys_bound.emplace(key->index, line.number);
  }
  if (std::optional<Input> t = input_of(line.number, line.value, false)) {
    bool axis = t->kind == Input::Kind::axis;
    auto& wanted = axis ? looking_->axes : looking_->buttons;
    auto& bound = axis ? looking_->axes_bound : looking_->buttons_bound;
    if (wanted.count(t->index) != 0) bound.emplace(t->index, line.number);
  }
}

void Keeper::settle() {
  if (settled_) return;
  settled_ = true;
  for (auto& [key, index] : group_index_) {
    Group& group = groups_[index];
    bool keyboard = keyboard_.chosen() && key == best_key_;
    group.keyboard = keyboard;
    for (std::size_t c = 0; c < group.candidates.size(); ++c) {
      const OldBinding& binding = *group.candidates[c];
      std::optional<Input> t = input_of(binding.number, binding.value, keyboard);
      if (!t) continue;
      const auto& bound = keyboard                        ? group.keys_bound
                          : t->kind == Input::Kind::axis ? group.axes_bound
                                                          : group.buttons_bound;
      auto owner = bound.find(t->index);
      if (owner != bound.end()) group.taken_by[c] = owner->second;
    }
  }
  keep_the_keyboard();
}

void Keeper::keep_the_keyboard() {
  std::optional<std::size_t> keyboard = keyboard_.chosen();
  if (!keyboard) return;  // none to keep: what is kept may be it
  // The key commands a section of the new file holds with what it keeps.
  auto kept_keys = [&](const Group& group) {
    std::int64_t n = 0;
    for (std::size_t c = 0; c < group.candidates.size(); ++c) {
      n += !group.taken_by[c] && is_key_command(group.candidates[c]->number) ? 1 : 0;
    }
    return n;
  };
  std::int64_t most = key_commands_[*keyboard];
  for (const Group& group : groups_) {
    if (group.first_section == keyboard) most += kept_keys(group);
  }
  for (Group& group : groups_) {
    if (group.in_new_file) {
      if (group.first_section == keyboard) continue;
      std::int64_t n = key_commands_[*group.first_section] + kept_keys(group);
      // A section before the keyboard's wins a tie; one after it loses it.
      group.set_aside = n > most || (n == most && *group.first_section < *keyboard);
      continue;
    }
    // Kept whole after every other: it loses a tie.
    for (std::size_t i : group.sections) {
      std::int64_t n = 0;
      for (const OldBinding& binding : old_[i].bindings) n += is_key_command(binding.number);
      group.set_aside = group.set_aside || n > most;
    }
  }
}

std::size_t Keeper::kept() {
  settle();
  std::size_t n = 0;
  for (const Group& group : groups_) {
    if (group.set_aside) continue;
    if (!group.in_new_file) {
      for (std::size_t i : group.sections) n += old_[i].bindings.size();
      continue;
    }
    for (const auto& taken : group.taken_by) n += taken ? 0 : 1;
  }
  return n;
}

std::size_t Keeper::set_aside() {
  settle();
  std::size_t n = 0;
  for (const Group& group : groups_) {
    if (!group.set_aside) continue;
    if (!group.in_new_file) {
      for (std::size_t i : group.sections) n += old_[i].bindings.size();
      continue;
    }
    for (const auto& taken : group.taken_by) n += taken ? 0 : 1;
  }
  return n;
}

std::size_t Keeper::taken() {
  settle();
  std::size_t n = 0;
  for (const Group& group : groups_) {
    for (const auto& taken : group.taken_by) n += group.in_new_file && taken ? 1 : 0;
  }
  return n;
}

void Keeper::outcomes(bool keeping, const std::function<void(const OldOutcome&)>& each) {
  settle();
  // Each group's candidates come in the old file's order: a cursor each.
  std::vector<std::size_t> next(groups_.size(), 0);
  for (const OldSection& section : old_) {
    std::size_t g = group_index_.at(section_key(section.header));
    const Group& group = groups_[g];
    for (const OldBinding& binding : section.bindings) {
      OldOutcome outcome{&section, &binding, keeping, std::nullopt, group.keyboard};
      std::optional<std::int32_t> taken;
      if (group.in_new_file) {
        if (!binding.own) continue;
        taken = group.taken_by[next[g]++];
      }
      outcome.kept = keeping && !taken && !group.set_aside;
      if (keeping) {
        outcome.owner = taken;
        outcome.set_aside = !taken && group.set_aside;
      }
      each(outcome);
    }
  }
}

std::vector<MergedLine> Keeper::take(const ConvertedLine& line) {
  settle();
  std::vector<MergedLine> out;
  if (line.header) {
    end_section(out);
    Group* group = group_of(line.text);
    if (group != nullptr && !group->merged) {
      group->merged = true;
      current_ = group;
    }
  }
  out.push_back({MergedLine::Kind::converted, line.text});
  return out;
}

std::vector<MergedLine> Keeper::finish() {
  settle();
  std::vector<MergedLine> out;
  end_section(out);
  for (std::size_t i = 0; i < old_.size(); ++i) {
    const Group* group = group_of(old_[i].header);
    if (group->in_new_file) continue;
    MergedLine::Kind kind = group->set_aside ? MergedLine::Kind::set_aside : MergedLine::Kind::kept;
    out.push_back({kind, old_[i].header});
    for (const OldBinding& binding : old_[i].bindings) out.push_back({kind, binding.line});
  }
  return out;
}

void Keeper::end_section(std::vector<MergedLine>& out) {
  if (current_ == nullptr) return;
  for (std::size_t c = 0; c < current_->candidates.size(); ++c) {
    MergedLine::Kind kind = current_->taken_by[c] ? MergedLine::Kind::taken
                            : current_->set_aside ? MergedLine::Kind::set_aside
                                                  : MergedLine::Kind::kept;
    out.push_back({kind, current_->candidates[c]->line});
  }
  current_ = nullptr;
}
