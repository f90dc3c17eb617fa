#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"

#include <tinyxml2.h>

// Writes the "dataset" element with the attributes that name the dataset's
// kind and measurement type.
void EisDataset::acceptSerializer(MXml::XmlSerializer& serializer) const
{
    tinyxml2::XMLElement* dataset = serializer.document->NewElement("dataset");
    dataset->SetAttribute("type", "AC");
    dataset->SetAttribute("job-type-short", header.getShortMeasurementType().c_str());
    dataset->SetAttribute("job-type", header.getMeasurementType().c_str());
    serializer.element = dataset;
}
