#include "marlek_link_json/jobs/dataset/dataset.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"

#include <tinyxml2.h>

std::shared_ptr<DataSet> DataSet::buildFromXmlElement(tinyxml2::XMLElement* element,
                                                      MXml::DeserializationContext& context)
{
    const char* type = element->Attribute("type");
    if (type == nullptr) {
        context.reportError("<dataset> is missing its required 'type' attribute");
        return nullptr;
    }
    const std::string_view kind(type);
    if (kind == "AC") {
        return EisDataset::buildFromXmlElement(element, context);
    }
    if (kind == "DC") {
        return DcDataset::buildFromXmlElement(element, context);
    }
    context.reportError("<dataset type=\"" + std::string(kind)
                        + "\"> is not a known dataset type (expected \"AC\" or \"DC\")");
    return nullptr;
}
