#pragma once

#include "marlek_link_json/jobs/control/settings/setting.hpp"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Device settings addressed by name (byte-wise, case-sensitive). Iteration
// follows the hash map, not the insertion order.
class SettingsSet {
    // Transparent hashing lets lookups by string_view skip building a string.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    using Map = std::unordered_map<std::string, Setting, NameHash, std::equal_to<>>;

public:
    using iterator = Map::iterator;
    using const_iterator = Map::const_iterator;

    // What the read-only lookup gives for an unknown name.
    static const Setting DUMMY;

    SettingsSet();
    // The first pair of a repeated name wins.
    explicit SettingsSet(const std::vector<std::pair<std::string_view, Setting>>& settings);

    // Inserts an UNINITIALIZED setting for an absent name.
    Setting& operator[](std::string_view name);
    // Never inserts: an absent name gives DUMMY.
    const Setting& operator[](std::string_view name) const;

    iterator begin() { return settings_.begin(); }
    iterator end() { return settings_.end(); }
    const_iterator begin() const { return settings_.begin(); }
    const_iterator end() const { return settings_.end(); }
    const_iterator cbegin() const { return settings_.cbegin(); }
    const_iterator cend() const { return settings_.cend(); }
    std::size_t size() const { return settings_.size(); }

    // True when every setting's last update succeeded; true for an empty set.
    bool allSuccessfullyUpdated() const;

private:
    Map settings_;
};
