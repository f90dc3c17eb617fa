#include "marlek_link_json/jobs/ac/geis_parameters_xml.hpp"

#include "marlek_link_json/jobs/ac/impedance_record_xml.hpp"

void ParameterXmlForm<GeisVaParametersGenerate>::write(const GeisVaParametersGenerate& record,
                                                       tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(impedance_record_fields::geisVaGenerate(), record, *parameters);
}

std::optional<GeisVaParametersGenerate> ParameterXmlForm<GeisVaParametersGenerate>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(impedance_record_fields::geisVaGenerate(), *parameters);
}

void ParameterXmlForm<GeisVaParametersFrequencyTable>::write(const GeisVaParametersFrequencyTable& record,
                                                             tinyxml2::XMLElement* parameters)
{
    impedance_record_xml::write(impedance_record_fields::geisVaFrequencyTable(), record, *parameters);
}

std::optional<GeisVaParametersFrequencyTable> ParameterXmlForm<GeisVaParametersFrequencyTable>::read(
    const tinyxml2::XMLElement* parameters)
{
    return impedance_record_xml::read(impedance_record_fields::geisVaFrequencyTable(), *parameters);
}
