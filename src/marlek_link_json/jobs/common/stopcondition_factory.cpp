#include "marlek_link_json/jobs/common/stopcondition_factory.hpp"

#include "marlek_link_json/jobs/common/stopconditions.hpp"

#include <boost/json.hpp>

StopConditionFactory::StopConditionFactory()
{
    registerType(InRangeStopCondition::name, &InRangeStopCondition::makeFromJson, &InRangeStopCondition::makeFromXml);
    registerType(IntegratingLimitStopCondition::name, &IntegratingLimitStopCondition::makeFromJson,
                 &IntegratingLimitStopCondition::makeFromXml);
    registerType(MaxLimitStopCondition::name, &MaxLimitStopCondition::makeFromJson, &MaxLimitStopCondition::makeFromXml);
    registerType(MinLimitStopCondition::name, &MinLimitStopCondition::makeFromJson, &MinLimitStopCondition::makeFromXml);
    registerType(MinMaxLimitStopCondition::name, &MinMaxLimitStopCondition::makeFromJson,
                 &MinMaxLimitStopCondition::makeFromXml);
    registerType(StabilityToleranceLimitStopCondition::name, &StabilityToleranceLimitStopCondition::makeFromJson,
                 &StabilityToleranceLimitStopCondition::makeFromXml);
}

const StopConditionFactory& StopConditionFactory::getInstance()
{
    static const StopConditionFactory instance;
    return instance;
}

void StopConditionFactory::registerType(const std::string& typeName, JsonMaker jsonMaker, XmlMaker xmlMaker)
{
    builders.insert_or_assign(typeName, Makers(std::move(jsonMaker), std::move(xmlMaker)));
}

const StopConditionFactory::Makers* StopConditionFactory::find(std::string_view typeName) const
{
    const auto it = builders.find(typeName);
    return it != builders.end() ? &it->second : nullptr;
}

StopConditionVector stopConditionsFromJson(const boost::json::array& stopConditions)
{
    const auto& factory = StopConditionFactory::getInstance();
    StopConditionVector conditions;
    for (const auto& element : stopConditions) {
        const auto* object = element.if_object();
        if (object == nullptr) {
            continue;
        }
        const auto* type = object->if_contains("type");
        const auto* parameters = object->if_contains("parameters");
        if (type == nullptr || !type->is_string() || parameters == nullptr || !parameters->is_object()) {
            continue;
        }
        const auto* makers = factory.find(type->get_string());
        if (makers == nullptr) {
            continue;
        }
        if (auto condition = makers->first(*parameters)) {
            conditions.push_back(std::move(condition));
        }
    }
    return conditions;
}
