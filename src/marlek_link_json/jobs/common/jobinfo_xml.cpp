#include "marlek_link_json/jobs/common/jobinfo_xml.hpp"

#include "marlek_json_common/json_common/jobs/joboptions_json.hpp"
#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_json_common/json_common/text/number_text.hpp"
#include "marlek_link_json/jobs/common/jobparameter_factory.hpp"
#include "marlek_link_json/jobs/common/stopcondition_factory.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"
#include "marlek_link_json/xml/xml_number_text.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <boost/json.hpp>
#include <tinyxml2.h>

#include <optional>
#include <string>
#include <string_view>

namespace {

ErrorObject unknownError()
{
    return ErrorObject(ErrorCodeEnum::UNKNOWN_ERR, "an unknown error occured");
}

std::string childText(const tinyxml2::XMLElement* parent, const char* name)
{
    const auto* child = parent->FirstChildElement(name);
    const char* text = child != nullptr ? child->GetText() : nullptr;
    return text != nullptr ? std::string(text) : std::string();
}

void appendText(tinyxml2::XMLElement* parent, const char* name, std::string_view text)
{
    MXml::setText(parent->InsertNewChildElement(name), text);
}

// Whole text as a decimal integer, nothing else: "-1" is no unsigned number.
template <typename Integer>
std::optional<Integer> integerFromText(const char* text)
{
    return text != nullptr ? numtext::parseInteger<Integer>(text) : std::nullopt;
}

void appendParameterElement(const ErrorParameter& parameter, tinyxml2::XMLElement* parent)
{
    auto* element = parent->InsertNewChildElement("parameter");
    std::visit(
        [&](const auto& value) {
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, bool>) {
                element->SetAttribute("type", "bool");
                element->SetText(value);
            } else if constexpr (std::is_same_v<T, double>) {
                element->SetAttribute("type", "double");
                MXml::setDoubleText(element, value);
            } else if constexpr (std::is_same_v<T, long long>) {
                element->SetAttribute("type", "int");
                element->SetText(static_cast<std::int64_t>(value));
            } else if constexpr (std::is_same_v<T, unsigned long>) {
                element->SetAttribute("type", "uint");
                element->SetText(static_cast<std::uint64_t>(value));
            } else {
                element->SetAttribute("type", "string");
                MXml::setText(element, value);
            }
        },
        parameter);
}

std::optional<ErrorParameter> readParameterElement(const tinyxml2::XMLElement& element)
{
    const char* type = element.Attribute("type");
    if (type == nullptr) {
        return std::nullopt;
    }
    const std::string_view kind(type);
    if (kind == "bool") {
        bool value = false;
        if (element.QueryBoolText(&value) != tinyxml2::XML_SUCCESS) {
            return std::nullopt;
        }
        return ErrorParameter(std::in_place_index<0>, value);
    }
    if (kind == "double") {
        const auto value = MXml::doubleText(element);
        if (!value) {
            return std::nullopt;
        }
        return ErrorParameter(std::in_place_index<1>, *value);
    }
    if (kind == "int") {
        const auto value = integerFromText<long long>(element.GetText());
        if (!value) {
            return std::nullopt;
        }
        return ErrorParameter(std::in_place_index<2>, *value);
    }
    if (kind == "uint") {
        const auto value = integerFromText<unsigned long>(element.GetText());
        if (!value) {
            return std::nullopt;
        }
        return ErrorParameter(std::in_place_index<3>, *value);
    }
    if (kind == "string") {
        // An empty string is written as an element without text; skipping it
        // would move the later parameters onto the wrong placeholders.
        const char* text = element.GetText();
        return ErrorParameter(std::in_place_index<4>, std::string(text != nullptr ? text : ""));
    }
    return std::nullopt;
}

} // namespace

void appendErrorElement(const ErrorObject& error, tinyxml2::XMLElement* parent)
{
    auto* element = parent->InsertNewChildElement("last-error");
    element->InsertNewChildElement("number")->SetText(static_cast<std::uint64_t>(error.getErrorCodeEnum()));
    appendText(element, "code", errorCodeName(error.getErrorCodeEnum()).value_or("UNKNOWN_ERR"));
    appendText(element, "message", error.getMessageFormatString());
    auto* parameters = element->InsertNewChildElement("message-parameters");
    for (const auto& parameter : error.getMessageParameters()) {
        appendParameterElement(parameter, parameters);
    }
}

ErrorObject readErrorElement(tinyxml2::XMLElement* lastError)
{
    if (lastError == nullptr) {
        return unknownError();
    }
    const auto* code = lastError->FirstChildElement("code");
    if (code == nullptr) {
        return unknownError();
    }
    // Only the name is read, never "number": a code without a name is as
    // unknown as a name missing from the table.
    const char* codeName = code->GetText();
    const auto codeValue = codeName != nullptr ? errorCodeFromName(codeName).value_or(ErrorCodeEnum::UNKNOWN_ERR)
                                               : ErrorCodeEnum::UNKNOWN_ERR;

    std::vector<ErrorParameter> parameters;
    if (const auto* list = lastError->FirstChildElement("message-parameters")) {
        for (const auto* element = list->FirstChildElement("parameter"); element != nullptr;
             element = element->NextSiblingElement("parameter")) {
            if (auto parameter = readParameterElement(*element)) {
                parameters.push_back(std::move(*parameter));
            }
        }
    }
    return ErrorObject(codeValue, childText(lastError, "message"), std::move(parameters));
}

void appendJobOptionsElement(const JobOptions& options, tinyxml2::XMLElement* parent)
{
    const auto object = boost::json::value_from(options).as_object();
    if (object.empty()) {
        return;
    }
    auto* element = parent->InsertNewChildElement("options");
    for (const auto& member : object) {
        auto* option = element->InsertNewChildElement("option");
        MXml::setAttribute(option, "name", member.key());
        option->SetAttribute("value", member.value().is_bool() && member.value().get_bool());
    }
}

JobOptions readJobOptionsElement(tinyxml2::XMLElement* options)
{
    if (options == nullptr) {
        return {};
    }
    boost::json::object object;
    for (const auto* option = options->FirstChildElement("option"); option != nullptr;
         option = option->NextSiblingElement("option")) {
        const char* name = option->Attribute("name");
        bool value = false;
        if (name != nullptr && option->QueryBoolAttribute("value", &value) == tinyxml2::XML_SUCCESS) {
            object[name] = value;
        }
    }
    return jobOptionsFromJson(object);
}

void appendStopConditionsElement(const std::vector<std::shared_ptr<AbstractStopCondition>>& stopConditions,
                                 tinyxml2::XMLElement* parent)
{
    auto* element = parent->InsertNewChildElement("stop-conditions");
    for (const auto& condition : stopConditions) {
        if (condition) {
            condition->appendAsXmlElement(element);
        }
    }
}

std::vector<std::shared_ptr<AbstractStopCondition>> readStopConditionsElement(tinyxml2::XMLElement* stopConditions)
{
    std::vector<std::shared_ptr<AbstractStopCondition>> conditions;
    if (stopConditions == nullptr) {
        return conditions;
    }
    const auto& factory = StopConditionFactory::getInstance();
    for (auto* condition = stopConditions->FirstChildElement("stop-condition"); condition != nullptr;
         condition = condition->NextSiblingElement("stop-condition")) {
        const auto* type = condition->FirstChildElement("type");
        auto* parameters = condition->FirstChildElement("parameters");
        if (type == nullptr || parameters == nullptr || type->GetText() == nullptr) {
            continue;
        }
        const auto* makers = factory.find(type->GetText());
        if (makers == nullptr) {
            continue;
        }
        if (auto made = makers->second(parameters)) {
            conditions.push_back(std::move(made));
        }
    }
    return conditions;
}

namespace MXml {

void appendJobinfoElement(const JobInfo& info, tinyxml2::XMLElement* parent)
{
    auto* element = parent->InsertNewChildElement("job-info");
    appendText(element, "job-id", info.jobId);
    appendText(element, "status", info.getStatusString());
    appendText(element, "status-detail", info.getStatusDetailString());
    appendText(element, "created", info.created);
    appendText(element, "started", info.started);
    appendText(element, "ended", info.ended);
    appendText(element, "type", info.type);

    if (info.parameters) {
        XmlSerializer serializer{parent->GetDocument(), nullptr};
        info.parameters->acceptSerializer(serializer);
        if (serializer.element != nullptr) {
            element->InsertEndChild(serializer.element);
        }
    }

    appendStopConditionsElement(info.stopConditions, element);

    auto* meta = element->InsertNewChildElement("meta");
    for (const auto& [name, value] : info.jobMeta) {
        auto* entry = meta->InsertNewChildElement("entry");
        MXml::setAttribute(entry, "name", name);
        MXml::setAttribute(entry, "value", value);
    }

    appendJobOptionsElement(info.options, element);

    // The message may come from the workstation: a format string that does
    // not fit its parameters must not stop the file from being written.
    appendText(element, "message", ErrorFormatters::formatOrFallback(info.error));
    appendErrorElement(info.error, element);
}

JobInfo jobInfoFromElement(tinyxml2::XMLElement* jobInfo)
{
    JobInfo info;
    if (jobInfo == nullptr) {
        info.error = unknownError();
        return info;
    }
    info.jobId = childText(jobInfo, "job-id");
    parseJobStatus(childText(jobInfo, "status"), info.status);
    parseJobStatusDetail(childText(jobInfo, "status-detail"), info.statusDetail);
    info.created = childText(jobInfo, "created");
    info.started = childText(jobInfo, "started");
    info.ended = childText(jobInfo, "ended");
    info.type = childText(jobInfo, "type");

    auto* parameters = jobInfo->FirstChildElement("parameters");
    if (!info.type.empty() && parameters != nullptr && parameters->FirstChild() != nullptr) {
        if (const auto builders = JobParameterFactory::getInstance().find(info.type)) {
            info.parameters = builders->second(parameters);
        }
    }

    info.stopConditions = readStopConditionsElement(jobInfo->FirstChildElement("stop-conditions"));

    if (const auto* meta = jobInfo->FirstChildElement("meta")) {
        for (const auto* entry = meta->FirstChildElement("entry"); entry != nullptr;
             entry = entry->NextSiblingElement("entry")) {
            const char* name = entry->Attribute("name");
            const char* value = entry->Attribute("value");
            if (name != nullptr && value != nullptr) {
                info.jobMeta.insert_or_assign(name, value);
            }
        }
    }

    info.options = readJobOptionsElement(jobInfo->FirstChildElement("options"));
    info.error = readErrorElement(jobInfo->FirstChildElement("last-error"));
    return info;
}

} // namespace MXml
