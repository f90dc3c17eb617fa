#pragma once
// The generic XML form of a described record: one child element per member,
// in description order, named like the member, with the member's value as
// text. Reading is lenient: a missing child or text that does not convert
// leaves the member as it was (unsigned integers excepted, see below), so a
// file written by another version still yields what it can.

#include "marlek_json_common/json_common/text/number_text.hpp"
#include "marlek_link_json/xml/xml_number_text.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <boost/describe/enumerators.hpp>
#include <boost/describe/members.hpp>
#include <boost/describe/modifiers.hpp>
#include <boost/mp11/algorithm.hpp>
#include <tinyxml2.h>

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

namespace DescribedXml {

// Text of one member value and its reading back. Specialise for member types
// of your own.
template <typename T>
struct MemberText;

template <>
struct MemberText<double> {
    // A NaN reads "nan" whatever its sign bit.
    static std::string write(double value) { return std::isnan(value) ? "nan" : numtext::shortest(value); }
    static void read(const tinyxml2::XMLElement& element, double& target)
    {
        if (const auto value = MXml::doubleText(element)) {
            target = *value;
        }
    }
};

template <>
struct MemberText<bool> {
    static std::string write(bool value) { return value ? "true" : "false"; }
    static void read(const tinyxml2::XMLElement& element, bool& target)
    {
        bool value = false;
        if (element.QueryBoolText(&value) == tinyxml2::XML_SUCCESS) {
            target = value;
        }
    }
};

// Unsigned members read as tinyxml2's unsigned text with 0 as the fallback:
// an unreadable count or index is 0, never a left-over default.
template <typename T>
    requires std::unsigned_integral<T> && (!std::same_as<T, bool>)
struct MemberText<T> {
    static std::string write(T value) { return std::to_string(static_cast<std::uint64_t>(value)); }
    static void read(const tinyxml2::XMLElement& element, T& target)
    {
        const std::uint64_t value = element.Unsigned64Text(0);
        target = value <= std::numeric_limits<T>::max() ? static_cast<T>(value) : T{0};
    }
};

template <typename T>
    requires std::signed_integral<T>
struct MemberText<T> {
    static std::string write(T value) { return std::to_string(static_cast<std::int64_t>(value)); }
    static void read(const tinyxml2::XMLElement& element, T& target)
    {
        std::int64_t value = 0;
        if (element.QueryInt64Text(&value) == tinyxml2::XML_SUCCESS && value >= std::numeric_limits<T>::min()
            && value <= std::numeric_limits<T>::max()) {
            target = static_cast<T>(value);
        }
    }
};

template <>
struct MemberText<std::string> {
    static std::string write(const std::string& value) { return value; }
    static void read(const tinyxml2::XMLElement& element, std::string& target)
    {
        if (const char* text = element.GetText()) {
            target = text;
        }
    }
};

// A described enumeration as the name of its value; an unknown name keeps
// the member's value.
template <typename T>
    requires std::is_enum_v<T> && boost::describe::has_describe_enumerators<T>::value
struct MemberText<T> {
    static std::string write(T value)
    {
        std::string name;
        boost::mp11::mp_for_each<boost::describe::describe_enumerators<T>>([&](auto enumerator) {
            if (name.empty() && enumerator.value == value) {
                name = enumerator.name;
            }
        });
        return name;
    }
    static void read(const tinyxml2::XMLElement& element, T& target)
    {
        const char* text = element.GetText();
        if (text == nullptr) {
            return;
        }
        bool found = false;
        boost::mp11::mp_for_each<boost::describe::describe_enumerators<T>>([&](auto enumerator) {
            if (!found && std::string_view(text) == std::string_view(enumerator.name)) {
                target = enumerator.value;
                found = true;
            }
        });
    }
};

template <typename T>
using Members = boost::describe::describe_members<T, boost::describe::mod_public | boost::describe::mod_inherited>;

// Appends one child per member to `parent`.
template <typename T>
void appendMembers(const T& record, tinyxml2::XMLElement* parent)
{
    boost::mp11::mp_for_each<Members<T>>([&](auto member) {
        using M = std::remove_cvref_t<decltype(record.*member.pointer)>;
        const std::string text = MemberText<M>::write(record.*member.pointer);
        MXml::setText(parent->InsertNewChildElement(member.name), text);
    });
}

// Reads each member from the first child of its name; further children are
// ignored.
template <typename T>
void readMembers(const tinyxml2::XMLElement* parent, T& record)
{
    boost::mp11::mp_for_each<Members<T>>([&](auto member) {
        using M = std::remove_cvref_t<decltype(record.*member.pointer)>;
        if (const auto* child = parent->FirstChildElement(member.name)) {
            MemberText<M>::read(*child, record.*member.pointer);
        }
    });
}

} // namespace DescribedXml
