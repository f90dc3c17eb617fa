#include "marlek_link_json/jobs/calibration/calibration_parameters.hpp"

#include <tinyxml2.h>

#include <string>

void ParameterXmlForm<CalibrateParametersString>::write(const CalibrateParametersString& record,
                                                        tinyxml2::XMLElement* parameters)
{
    parameters->InsertNewChildElement("calibration_type")->SetText(record.calibration_type.c_str());
    parameters->InsertNewChildElement("calibration_path")->SetText(record.calibration_path.c_str());
    auto* indexes = parameters->InsertNewChildElement("indexes_element");
    for (const auto index : record.indexes) {
        indexes->InsertNewChildElement("index")->SetText(std::to_string(index).c_str());
    }
    auto* paths = parameters->InsertNewChildElement("paths_element");
    for (const auto& path : record.paths) {
        paths->InsertNewChildElement("path")->SetText(path.c_str());
    }
}
