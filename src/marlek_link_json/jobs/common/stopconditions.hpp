#pragma once

#include "marlek_json_common/json_common/json/strict_reader.hpp"
#include "marlek_link_json/jobs/common/abstract_stopcondition.hpp"
#include "marlek_link_json/jobs/described_record_xml.hpp"

#include <boost/describe/class.hpp>
#include <boost/json/object.hpp>
#include <boost/json/value_from.hpp>
#include <tinyxml2.h>

#include <memory>
#include <string>
#include <string_view>

// The type names of the stop conditions, each equal to its identifier.
struct StopConditionTypes {
    static constexpr std::string_view integrating = "integrating";
    static constexpr std::string_view min = "min";
    static constexpr std::string_view max = "max";
    static constexpr std::string_view min_max = "min_max";
    static constexpr std::string_view in_range = "in_range";
    static constexpr std::string_view stability_tolerance = "stability_tolerance";
};

// Ends the job when the integral of |for_dimension| over over_dimension
// exceeds maximum.
struct IntegratingLimitStopConditionParameters {
    std::string for_dimension;
    std::string over_dimension;
    double maximum = 0.0;
    friend bool operator==(const IntegratingLimitStopConditionParameters&,
                           const IntegratingLimitStopConditionParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(IntegratingLimitStopConditionParameters, (), (for_dimension, over_dimension, maximum))

struct MinLimitStopConditionParameters {
    std::string for_dimension;
    double minimum = 0.0;
    friend bool operator==(const MinLimitStopConditionParameters&, const MinLimitStopConditionParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(MinLimitStopConditionParameters, (), (for_dimension, minimum))

struct MaxLimitStopConditionParameters {
    std::string for_dimension;
    double maximum = 0.0;
    friend bool operator==(const MaxLimitStopConditionParameters&, const MaxLimitStopConditionParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(MaxLimitStopConditionParameters, (), (for_dimension, maximum))

struct MinMaxLimitStopConditionParameters {
    std::string for_dimension;
    double minimum = 0.0;
    double maximum = 0.0;
    friend bool operator==(const MinMaxLimitStopConditionParameters&,
                           const MinMaxLimitStopConditionParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(MinMaxLimitStopConditionParameters, (), (for_dimension, minimum, maximum))

// Ends the job when for_dimension lies within [minimum, maximum].
struct InRangeStopConditionParameters {
    std::string for_dimension;
    double minimum = 0.0;
    double maximum = 0.0;
    friend bool operator==(const InRangeStopConditionParameters&, const InRangeStopConditionParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(InRangeStopConditionParameters, (), (for_dimension, minimum, maximum))

// Ends the job when the change of for_dimension per second stays below
// stability_tolerance, checked only after minimum_duration.
struct StabilityToleranceLimitStopConditionParameters {
    std::string for_dimension;
    double stability_tolerance = 0.0;
    double minimum_duration = 0.0;
    friend bool operator==(const StabilityToleranceLimitStopConditionParameters&,
                           const StabilityToleranceLimitStopConditionParameters&) = default;
};
BOOST_DESCRIBE_STRUCT(StabilityToleranceLimitStopConditionParameters, (),
                      (for_dimension, stability_tolerance, minimum_duration))

template <typename STOP_CONDITION_STRUCT, const std::string_view* TYPE_NAME>
class StopCondition : public AbstractStopCondition {
public:
    using Parameters = STOP_CONDITION_STRUCT;

    static inline const std::string name{*TYPE_NAME};

    explicit StopCondition(const STOP_CONDITION_STRUCT& record) : parameters(record) {}

    const std::string& getType() const override { return name; }

    boost::json::object getParameterObject() const override
    {
        return boost::json::value_from(parameters).as_object();
    }

    void appendAsXmlElement(tinyxml2::XMLElement* parent) const override
    {
        auto* element = parent->InsertNewChildElement("stop-condition");
        MXml::setText(element->InsertNewChildElement("type"), name);
        DescribedXml::appendMembers(parameters, element->InsertNewChildElement("parameters"));
    }

    const STOP_CONDITION_STRUCT& getParameters() const { return parameters; }

    // Strict: raises system_error with Boost.JSON's code (not_object,
    // size_mismatch, not_string, not_number) for a malformed object.
    static std::shared_ptr<AbstractStopCondition> makeFromJson(const boost::json::value& source)
    {
        return std::make_shared<StopCondition>(StrictJson::read<STOP_CONDITION_STRUCT>(source));
    }

    // Lenient: takes the "parameters" element; never fails on content.
    static std::shared_ptr<AbstractStopCondition> makeFromXml(tinyxml2::XMLElement* parametersElement)
    {
        STOP_CONDITION_STRUCT record{};
        if (parametersElement != nullptr) {
            DescribedXml::readMembers(parametersElement, record);
        }
        return std::make_shared<StopCondition>(record);
    }

private:
    const STOP_CONDITION_STRUCT parameters;
};

using IntegratingLimitStopCondition =
    StopCondition<IntegratingLimitStopConditionParameters, &StopConditionTypes::integrating>;
using MinLimitStopCondition = StopCondition<MinLimitStopConditionParameters, &StopConditionTypes::min>;
using MaxLimitStopCondition = StopCondition<MaxLimitStopConditionParameters, &StopConditionTypes::max>;
using MinMaxLimitStopCondition = StopCondition<MinMaxLimitStopConditionParameters, &StopConditionTypes::min_max>;
using InRangeStopCondition = StopCondition<InRangeStopConditionParameters, &StopConditionTypes::in_range>;
using StabilityToleranceLimitStopCondition =
    StopCondition<StabilityToleranceLimitStopConditionParameters, &StopConditionTypes::stability_tolerance>;
