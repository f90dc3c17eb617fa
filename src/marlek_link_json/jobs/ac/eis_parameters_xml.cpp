#include "marlek_link_json/jobs/ac/eis_parameters_xml.hpp"

#include "marlek_link_json/jobs/ac/impedance_record_xml.hpp"

using impedance_record_xml::NumberField;
using impedance_record_xml::RecordForm;
using impedance_record_xml::generatorFields;
using impedance_record_xml::spectrumEntryFields;

namespace {

const RecordForm<EisParametersFrequencyTable, EisParametersFrequencyTableEntry>& frequencyTableForm()
{
    using R = EisParametersFrequencyTable;
    static const RecordForm<R, EisParametersFrequencyTableEntry> form{
        .topLevel = {{"bias", &R::bias}},
        .rangeType = "table",
        .entries = &R::spectrum,
        .entryFields = spectrumEntryFields(),
    };
    return form;
}

const RecordForm<EisParametersGenerate>& generateForm()
{
    using R = EisParametersGenerate;
    static const RecordForm<R> form{
        .topLevel = {{"bias", &R::bias}},
        .rangeType = "generate",
        .range = generatorFields<R>(),
    };
    return form;
}

const RecordForm<EisMultiSineTable, EisMultiSineTableEntry>& multiSineTableForm()
{
    using R = EisMultiSineTable;
    using E = EisMultiSineTableEntry;
    static const RecordForm<R, E> form{
        .topLevel = {{"bias", &R::bias}},
        .multisineWaveInResult = &R::multisine_wave_in_result,
        .rangeType = "table",
        .range =
            {
                {"fundamental_frequency", &R::fundamental_frequency},
                {"pre_duration", &R::pre_duration},
                {"pre_waves", &R::pre_waves},
                {"meas_duration", &R::meas_duration},
                {"meas_waves", &R::meas_waves},
                {"amplitude", &R::amplitude},
            },
        .entries = &R::harmonics,
        .entryFields = {{"harmonic", &E::harmonic}, {"weight", &E::weight}},
    };
    return form;
}

const RecordForm<EisMultisineParametersGenerate>& multisineGenerateForm()
{
    using R = EisMultisineParametersGenerate;
    static const RecordForm<R> form = [] {
        RecordForm<R> built{
            .topLevel = {{"bias", &R::bias}},
            .multisineWaveInResult = &R::multisine_wave_in_result,
            .rangeType = "generate",
            .range = generatorFields<R>(),
        };
        built.range.insert(built.range.end(), {
                                                  {"multisine_pre_waves", &R::multisine_pre_waves},
                                                  {"multisine_meas_waves", &R::multisine_meas_waves},
                                                  {"multisine_decades", &R::multisine_decades},
                                                  {"multisine_starting_harmonic", &R::multisine_starting_harmonic},
                                              });
        return built;
    }();
    return form;
}

} // namespace

void ParameterXmlForm<EisParametersFrequencyTable>::write(const EisParametersFrequencyTable& record,
                                                          tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(frequencyTableForm(), record, *parameters);
}

std::optional<EisParametersFrequencyTable> ParameterXmlForm<EisParametersFrequencyTable>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(frequencyTableForm(), *parameters);
}

void ParameterXmlForm<EisParametersGenerate>::write(const EisParametersGenerate& record,
                                                    tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(generateForm(), record, *parameters);
}

std::optional<EisParametersGenerate> ParameterXmlForm<EisParametersGenerate>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(generateForm(), *parameters);
}

void ParameterXmlForm<EisMultiSineTable>::write(const EisMultiSineTable& record, tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(multiSineTableForm(), record, *parameters);
}

std::optional<EisMultiSineTable> ParameterXmlForm<EisMultiSineTable>::read(const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(multiSineTableForm(), *parameters);
}

void ParameterXmlForm<EisMultisineParametersGenerate>::write(const EisMultisineParametersGenerate& record,
                                                             tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(multisineGenerateForm(), record, *parameters);
}

std::optional<EisMultisineParametersGenerate> ParameterXmlForm<EisMultisineParametersGenerate>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(multisineGenerateForm(), *parameters);
}
