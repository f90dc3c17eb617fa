#pragma once

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

// One named device setting's value with the outcome of its last update. The
// type names the alternative the value holds; UNINITIALIZED holds false.
class Setting {
public:
    enum class Type : std::int32_t {
        UNINITIALIZED = 0,
        BOOL = 1,
        INT = 2,
        DOUBLE = 3,
        STRING = 4,
    };

    using Value = std::variant<bool, int, double, std::string>;

    Setting() = default;
    Setting(bool value) : type_(Type::BOOL), value_(value) {}
    Setting(int value) : type_(Type::INT), value_(value) {}
    Setting(double value) : type_(Type::DOUBLE), value_(value) {}
    Setting(std::string_view text) : type_(Type::STRING), value_(std::string(text)) {}
    Setting(const char* text) : Setting(std::string_view(text)) {}

    // Assigning a value keeps the update flag and the failure reason: they
    // describe the last update, not the value.
    Setting& operator=(bool value) { return assign(Type::BOOL, value); }
    Setting& operator=(int value) { return assign(Type::INT, value); }
    Setting& operator=(double value) { return assign(Type::DOUBLE, value); }
    Setting& operator=(std::string_view text) { return assign(Type::STRING, std::string(text)); }
    Setting& operator=(const char* text) { return *this = std::string_view(text); }

    Type getType() const { return type_; }
    const Value& getValue() const { return value_; }

    // Each getter throws std::bad_variant_access for another alternative;
    // an UNINITIALIZED setting reads as the bool false.
    bool getBoolValue() const { return std::get<bool>(value_); }
    int getIntValue() const { return std::get<int>(value_); }
    double getDoubleValue() const { return std::get<double>(value_); }
    std::string getStringValue() const { return std::get<std::string>(value_); }

    bool successfullyUpdated() const { return successfullyUpdated_; }
    // The reason of the last failed update; "no error" when none failed yet.
    ErrorObject getUpdateFailureReason() const { return updateFailureReason_.value_or(ErrorObject()); }
    void setSuccessfullyUpdated(bool updated) { successfullyUpdated_ = updated; }
    void setUpdateFailureReason(ErrorObject&& reason) { updateFailureReason_ = std::move(reason); }

private:
    template <typename V>
    Setting& assign(Type type, V&& value)
    {
        value_ = std::forward<V>(value);
        type_ = type;
        return *this;
    }

    Type type_ = Type::UNINITIALIZED;
    Value value_ = false;
    bool successfullyUpdated_ = false;
    std::optional<ErrorObject> updateFailureReason_;
};
