#pragma once
// Strict reading of records of our own from JSON: a described record must be
// an object holding every member under its name (extra keys are ignored, key
// order does not matter), every value must be of its member's kind, and the
// first failing member in description order decides the error. Failures
// raise boost::system::system_error carrying the Boost.JSON error code, the
// way Boost.JSON's throwing value_to does. We do not use Boost.JSON's own
// conversion of described records because its treatment of extra and missing
// keys has changed between Boost releases, and stored records and the
// workstation's replies must read the same everywhere.
//
// A member type without a built-in rule gets one by specialising
// StrictJson::Converter<T> (see ValueToConverter for types that already have
// a value_to conversion of their own).

#include <boost/describe/enumerators.hpp>
#include <boost/describe/members.hpp>
#include <boost/describe/modifiers.hpp>
#include <boost/json/error.hpp>
#include <boost/json/value.hpp>
#include <boost/json/value_to.hpp>
#include <boost/mp11/algorithm.hpp>
#include <boost/system/error_code.hpp>
#include <boost/system/system_error.hpp>
#include <boost/throw_exception.hpp>

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace StrictJson {

// Reads `source` into `target`; on failure sets `ec` and leaves `target` in
// an unspecified but valid state. Specialise for member types of your own.
template <typename T>
struct Converter;

template <typename T>
concept Readable = requires(const boost::json::value& source, T& target, boost::system::error_code& ec) {
    Converter<T>::read(source, target, ec);
};

template <>
struct Converter<double> {
    static void read(const boost::json::value& source, double& target, boost::system::error_code& ec)
    {
        switch (source.kind()) {
        case boost::json::kind::double_:
            target = source.get_double();
            return;
        case boost::json::kind::int64:
            target = static_cast<double>(source.get_int64());
            return;
        case boost::json::kind::uint64:
            target = static_cast<double>(source.get_uint64());
            return;
        default:
            ec = boost::json::error::not_number;
        }
    }
};

template <>
struct Converter<bool> {
    static void read(const boost::json::value& source, bool& target, boost::system::error_code& ec)
    {
        if (!source.is_bool()) {
            ec = boost::json::error::not_bool;
            return;
        }
        target = source.get_bool();
    }
};

namespace detail {

// Whole doubles in [low, high) only; NaN and the infinities fail both tests.
inline bool wholeWithin(double value, double low, double high)
{
    return value >= low && value < high && std::trunc(value) == value;
}

} // namespace detail

// Any integer: a JSON integer or a whole double that fits the type, else
// not_exact; a value that is no number at all gives not_number.
template <typename T>
    requires std::integral<T> && (!std::same_as<T, bool>)
struct Converter<T> {
    static void read(const boost::json::value& source, T& target, boost::system::error_code& ec)
    {
        switch (source.kind()) {
        case boost::json::kind::int64:
            store(source.get_int64(), target, ec);
            return;
        case boost::json::kind::uint64:
            store(source.get_uint64(), target, ec);
            return;
        case boost::json::kind::double_: {
            const double v = source.get_double();
            const double bound = std::ldexp(1.0, std::numeric_limits<T>::digits);
            const double low = std::is_signed_v<T> ? -bound : 0.0;
            if (!detail::wholeWithin(v, low, bound)) {
                ec = boost::json::error::not_exact;
                return;
            }
            target = static_cast<T>(v);
            return;
        }
        default:
            ec = boost::json::error::not_number;
        }
    }

private:
    template <typename V>
    static void store(V value, T& target, boost::system::error_code& ec)
    {
        if (!std::in_range<T>(value)) {
            ec = boost::json::error::not_exact;
            return;
        }
        target = static_cast<T>(value);
    }
};

template <>
struct Converter<std::string> {
    static void read(const boost::json::value& source, std::string& target, boost::system::error_code& ec)
    {
        if (!source.is_string()) {
            ec = boost::json::error::not_string;
            return;
        }
        const auto& text = source.get_string();
        target.assign(text.data(), text.size());
    }
};

template <typename T, typename Allocator>
struct Converter<std::vector<T, Allocator>> {
    static void read(const boost::json::value& source, std::vector<T, Allocator>& target,
                     boost::system::error_code& ec)
    {
        const auto* array = source.if_array();
        if (array == nullptr) {
            ec = boost::json::error::not_array;
            return;
        }
        target.clear();
        target.reserve(array->size());
        for (const auto& element : *array) {
            T item{};
            Converter<T>::read(element, item, ec);
            if (ec) {
                return;
            }
            target.push_back(std::move(item));
        }
    }
};

// The first alternative, in declaration order, that reads without error.
template <typename... Alternatives>
struct Converter<std::variant<Alternatives...>> {
    static void read(const boost::json::value& source, std::variant<Alternatives...>& target,
                     boost::system::error_code& ec)
    {
        bool found = false;
        boost::mp11::mp_for_each<boost::mp11::mp_list<Alternatives...>>([&](auto alternative) {
            using A = decltype(alternative);
            if (found) {
                return;
            }
            A item{};
            boost::system::error_code attempt;
            Converter<A>::read(source, item, attempt);
            if (!attempt) {
                target.template emplace<A>(std::move(item));
                found = true;
            }
        });
        if (!found) {
            ec = boost::json::error::exhausted_variants;
        }
    }
};

// A described enumeration travels as the exact name of its value.
template <typename T>
    requires std::is_enum_v<T> && boost::describe::has_describe_enumerators<T>::value
struct Converter<T> {
    static void read(const boost::json::value& source, T& target, boost::system::error_code& ec)
    {
        const auto* text = source.if_string();
        if (text == nullptr) {
            ec = boost::json::error::not_string;
            return;
        }
        bool found = false;
        boost::mp11::mp_for_each<boost::describe::describe_enumerators<T>>([&](auto enumerator) {
            if (!found && std::string_view(*text) == std::string_view(enumerator.name)) {
                target = enumerator.value;
                found = true;
            }
        });
        if (!found) {
            ec = boost::json::error::unknown_name;
        }
    }
};

template <typename T>
using DescribedMembers =
    boost::describe::describe_members<T, boost::describe::mod_public | boost::describe::mod_inherited>;

template <typename T>
concept DescribedRecord = std::is_class_v<T> && !std::is_union_v<T>
    && boost::describe::has_describe_members<T>::value;

// A described record: every member under its own name, first failure wins.
template <typename T>
    requires DescribedRecord<T>
struct Converter<T> {
    static void read(const boost::json::value& source, T& target, boost::system::error_code& ec)
    {
        const auto* object = source.if_object();
        if (object == nullptr) {
            ec = boost::json::error::not_object;
            return;
        }
        boost::mp11::mp_for_each<DescribedMembers<T>>([&](auto member) {
            if (ec) {
                return;
            }
            const auto* value = object->if_contains(member.name);
            if (value == nullptr) {
                ec = boost::json::error::size_mismatch;
                return;
            }
            using M = std::remove_cvref_t<decltype(target.*member.pointer)>;
            Converter<M>::read(*value, target.*member.pointer, ec);
        });
    }
};

// For a type that has a value_to conversion of its own (possibly a lenient
// one): a system_error keeps its code, an allocation failure passes through,
// anything else becomes Boost.JSON's `exception` error.
template <typename T>
struct ValueToConverter {
    static void read(const boost::json::value& source, T& target, boost::system::error_code& ec)
    {
        try {
            target = boost::json::value_to<T>(source);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const boost::system::system_error& error) {
            ec = error.code();
        } catch (...) {
            ec = boost::json::error::exception;
        }
    }
};

// Reads a T or raises system_error with the first failure's code. The result
// starts value-initialised, so members keep their declared defaults until
// read.
template <typename T>
    requires Readable<T>
T read(const boost::json::value& source)
{
    T target{};
    boost::system::error_code ec;
    Converter<T>::read(source, target, ec);
    if (ec) {
        boost::throw_exception(boost::system::system_error(ec));
    }
    return target;
}

} // namespace StrictJson
