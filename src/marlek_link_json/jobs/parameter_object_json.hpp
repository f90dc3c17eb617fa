#pragma once

#include "marlek_link_json/jobs/described_record_xml.hpp"
#include "marlek_link_json/xml/xml_serializable.hpp"

#include <tinyxml2.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

// Common base of every wrapped parameter record, so that job information
// can hold the parameters of any job kind.
class MeasurementParameters : public MXml::XmlSerializable {};

// The shortest text that reads back to exactly the same double, fixed or
// exponent notation, whichever is shorter, fixed on a tie ("1", "0.1",
// "1e+05"). The text of every double in the XML forms of parameter and
// stop-condition records.
std::string doubleToString(const double& value);

// The XML form of a parameter record inside its "parameters" element. By
// default one child per described member; a record with lists or nested
// records specialises this with a form of its own, and a record without an
// XML form lets `read` give nothing.
template <typename P>
struct ParameterXmlForm {
    static void write(const P& record, tinyxml2::XMLElement* parameters)
    {
        DescribedXml::appendMembers(record, parameters);
    }

    static std::optional<P> read(const tinyxml2::XMLElement* parameters)
    {
        P record{};
        DescribedXml::readMembers(parameters, record);
        return record;
    }
};

// Base of the ParameterXmlForm of a record that has no XML form: its
// parameter object writes no element and reads no record.
struct NoParameterXmlForm {};

template <typename P>
inline constexpr bool hasParameterXmlForm = !std::is_base_of_v<NoParameterXmlForm, ParameterXmlForm<P>>;

// A parameter record wrapped as a parameter object: the record's fields are
// its own fields, and it writes and reads its XML form.
template <typename P>
class SerializableParameterStruct : public P, public MeasurementParameters {
public:
    SerializableParameterStruct() : P{} {}
    explicit SerializableParameterStruct(const P& record) : P(record) {}

    const P& getRecord() const { return *this; }

    void acceptSerializer(MXml::XmlSerializer& serializer) const override
    {
        if constexpr (hasParameterXmlForm<P>) {
            auto* element = serializer.document->NewElement("parameters");
            ParameterXmlForm<P>::write(*this, element);
            serializer.element = element;
        }
    }

    // Never fails on content: what cannot be read keeps its initial value.
    // Empty for records that have no XML form.
    static std::shared_ptr<MeasurementParameters> fromXmlElement(tinyxml2::XMLElement* parameters)
    {
        if constexpr (hasParameterXmlForm<P>) {
            if (parameters == nullptr) {
                return {};
            }
            auto record = ParameterXmlForm<P>::read(parameters);
            if (!record) {
                return {};
            }
            return std::make_shared<SerializableParameterStruct<P>>(*record);
        } else {
            return {};
        }
    }
};
