#include "marlek_link_json/jobs/control/settings/settings_set.hpp"

#include <algorithm>

const Setting SettingsSet::DUMMY{};

SettingsSet::SettingsSet()
{
    settings_.max_load_factor(1.0F);
}

SettingsSet::SettingsSet(const std::vector<std::pair<std::string_view, Setting>>& settings) : SettingsSet()
{
    for (const auto& [name, setting] : settings) {
        settings_.try_emplace(std::string(name), setting);
    }
}

Setting& SettingsSet::operator[](std::string_view name)
{
    auto found = settings_.find(name);
    if (found == settings_.end()) {
        found = settings_.try_emplace(std::string(name)).first;
    }
    return found->second;
}

const Setting& SettingsSet::operator[](std::string_view name) const
{
    const auto found = settings_.find(name);
    return found == settings_.end() ? DUMMY : found->second;
}

bool SettingsSet::allSuccessfullyUpdated() const
{
    return std::ranges::all_of(settings_, [](const auto& entry) { return entry.second.successfullyUpdated(); });
}
