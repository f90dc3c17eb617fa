#include "marlek_link_json/jobs/ac/geis_parameters_xml.hpp"

#include "marlek_link_json/jobs/ac/impedance_record_xml.hpp"

using impedance_record_xml::generatorFields;
using impedance_record_xml::NumberField;
using impedance_record_xml::RecordForm;
using impedance_record_xml::spectrumEntryFields;

namespace {

template <class R>
std::vector<NumberField<R>> biasAndCurrentLimits()
{
    return {
        {"bias", &R::bias},
        {"minimum_current_amplitude", &R::minimum_current_amplitude},
        {"maximum_current_amplitude", &R::maximum_current_amplitude},
    };
}

const RecordForm<GeisVaParametersGenerate>& generateForm()
{
    using R = GeisVaParametersGenerate;
    static const RecordForm<R> form{
        .topLevel = biasAndCurrentLimits<R>(),
        .rangeType = "generate",
        .range = generatorFields<R>(),
    };
    return form;
}

const RecordForm<GeisVaParametersFrequencyTable, EisParametersFrequencyTableEntry>& frequencyTableForm()
{
    using R = GeisVaParametersFrequencyTable;
    static const RecordForm<R, EisParametersFrequencyTableEntry> form{
        .topLevel = biasAndCurrentLimits<R>(),
        .rangeType = "table",
        .entries = &R::spectrum,
        .entryFields = spectrumEntryFields(),
    };
    return form;
}

} // namespace

void ParameterXmlForm<GeisVaParametersGenerate>::write(const GeisVaParametersGenerate& record,
                                                       tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(generateForm(), record, *parameters);
}

std::optional<GeisVaParametersGenerate> ParameterXmlForm<GeisVaParametersGenerate>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(generateForm(), *parameters);
}

void ParameterXmlForm<GeisVaParametersFrequencyTable>::write(const GeisVaParametersFrequencyTable& record,
                                                             tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(frequencyTableForm(), record, *parameters);
}

std::optional<GeisVaParametersFrequencyTable> ParameterXmlForm<GeisVaParametersFrequencyTable>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(frequencyTableForm(), *parameters);
}
