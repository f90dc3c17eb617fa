#pragma once

#include "marlek_link_json/jobs/dataset/dataset_info.hpp"
#include "marlek_link_json/xml/deserialization_context.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
} // namespace tinyxml2

class DataSet;

// The "sections" block of a "dataset" element: one "section" per part of a
// joined dataset (or one for a single dataset), each with the part's summary
// and its job information.

// One section per included dataset, or one from the dataset's own summary
// when it includes none.
void appendSectionsElement(const DataSet* dataset, tinyxml2::XMLElement* datasetElement);
void appendSectionElement(tinyxml2::XMLElement* sections, const DatasetInfo& info);

// The summaries in document order; empty, with the failure reported, when a
// section is malformed.
std::vector<DatasetInfo> datasetInfoVectorFromSection(tinyxml2::XMLElement* sections,
                                                      MXml::DeserializationContext& context);

std::optional<std::string> readRequiredSectionAttribute(MXml::DeserializationContext& context,
                                                        const tinyxml2::XMLElement* section, const char* name);

// The sum of the sections' row counts; none when it exceeds 64 bits.
std::optional<std::uint64_t> totalRowCount(const std::vector<DatasetInfo>& sections);
