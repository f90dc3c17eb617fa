#include "marlek_link_json/jobs/ac/eis_parameters_xml.hpp"

#include "marlek_link_json/jobs/ac/impedance_record_xml.hpp"

void ParameterXmlForm<EisParametersFrequencyTable>::write(const EisParametersFrequencyTable& record,
                                                          tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(impedance_record_fields::eisFrequencyTable(), record, *parameters);
}

std::optional<EisParametersFrequencyTable> ParameterXmlForm<EisParametersFrequencyTable>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(impedance_record_fields::eisFrequencyTable(), *parameters);
}

void ParameterXmlForm<EisParametersGenerate>::write(const EisParametersGenerate& record,
                                                    tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(impedance_record_fields::eisGenerate(), record, *parameters);
}

std::optional<EisParametersGenerate> ParameterXmlForm<EisParametersGenerate>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(impedance_record_fields::eisGenerate(), *parameters);
}

void ParameterXmlForm<EisMultiSineTable>::write(const EisMultiSineTable& record, tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(impedance_record_fields::eisMultiSineTable(), record, *parameters);
}

std::optional<EisMultiSineTable> ParameterXmlForm<EisMultiSineTable>::read(const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(impedance_record_fields::eisMultiSineTable(), *parameters);
}

void ParameterXmlForm<EisMultisineParametersGenerate>::write(const EisMultisineParametersGenerate& record,
                                                             tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(impedance_record_fields::eisMultisineGenerate(), record, *parameters);
}

std::optional<EisMultisineParametersGenerate> ParameterXmlForm<EisMultisineParametersGenerate>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(impedance_record_fields::eisMultisineGenerate(), *parameters);
}
