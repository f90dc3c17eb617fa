// Feeds arbitrary text to the dataset XML reader as a "dataset" element of a
// file format version taken from the first byte. A dataset that reads must
// hold no more values than the text could carry, must read back from the file
// text it writes, and an impedance dataset must append itself.

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/xml/deserialization_context.hpp"
#include "marlek_link_json/xml/xml_text_printer.hpp"

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

std::uint64_t storedValues(const DataSet& dataset)
{
    std::uint64_t values = 0;
    if (const auto* dc = dynamic_cast<const DcDataset*>(&dataset)) {
        for (const auto& track : dc->getTracks()) {
            values += track.size();
        }
        return values;
    }
    const auto& eis = dynamic_cast<const EisDataset&>(dataset);
    for (std::size_t c = 0; c < eis.getMetaDataHeader().size(); ++c) {
        values += eis.getMetaColumn(c).size();
    }
    for (std::size_t p = 0; p < eis.getPathsDataHeaders().size(); ++p) {
        for (const auto& wave : eis.getPathWaves(p)) {
            values += wave.size();
        }
    }
    return values;
}

std::shared_ptr<DataSet> read(tinyxml2::XMLElement* element, std::uint64_t version)
{
    MXml::DeserializationContext context;
    context.formatVersion = version;
    std::shared_ptr<DataSet> dataset = DataSet::buildFromXmlElement(element, context);
    require((dataset == nullptr) == context.error.has_value());
    return dataset;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::uint64_t version = 1 + data[0] % 4;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    tinyxml2::XMLDocument document;
    if (document.Parse(text.c_str(), text.size()) != tinyxml2::XML_SUCCESS || document.RootElement() == nullptr) {
        return 0;
    }
    const std::shared_ptr<DataSet> dataset = read(document.RootElement(), version);
    if (dataset == nullptr) {
        return 0;
    }
    // A value costs at least one character and a separator.
    require(storedValues(*dataset) <= text.size());

    // What the reader builds has the shape of its header, so it can be
    // joined with itself.
    if (const auto* eis = dynamic_cast<const EisDataset*>(dataset.get())) {
        require(eis->hasConsistentShape());
        EisDataset joined(*eis);
        require(joined.append(joined, 1.0) == (eis->getRowCount() != 0));
        require(joined.getRowCount() == 2 * eis->getRowCount());
        require(joined.hasConsistentShape());
    }

    // Written the way files are printed and parsed again, as an importer
    // sees it.
    tinyxml2::XMLDocument written;
    MXml::XmlSerializer serializer{&written, nullptr};
    dataset->acceptSerializer(serializer);
    written.InsertEndChild(serializer.element);
    MXml::XmlTextPrinter printer(true);
    written.Print(&printer);
    tinyxml2::XMLDocument printed(true, tinyxml2::PRESERVE_WHITESPACE);
    require(printed.Parse(printer.CStr()) == tinyxml2::XML_SUCCESS);
    const std::shared_ptr<DataSet> again =
        read(printed.RootElement(), MXml::DeserializationContext::CURRENT_FORMAT_VERSION);
    require(again != nullptr);
    require(again->getRowCount() == dataset->getRowCount());
    return 0;
}
