#include "marlek_link_json/jobs/calibration/calibration_parameters.hpp"

#include "marlek_link_json/xml/xml_text.hpp"

#include <tinyxml2.h>

#include <string>

void ParameterXmlForm<CalibrateParametersString>::write(const CalibrateParametersString& record,
                                                        tinyxml2::XMLElement* parameters)
{
    MXml::setText(parameters->InsertNewChildElement("calibration_type"), record.calibration_type);
    MXml::setText(parameters->InsertNewChildElement("calibration_path"), record.calibration_path);
    auto* indexes = parameters->InsertNewChildElement("indexes_element");
    for (const auto index : record.indexes) {
        indexes->InsertNewChildElement("index")->SetText(std::to_string(index).c_str());
    }
    auto* paths = parameters->InsertNewChildElement("paths_element");
    for (const auto& path : record.paths) {
        MXml::setText(paths->InsertNewChildElement("path"), path);
    }
}
