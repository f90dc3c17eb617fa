// Fetches the result of a finished job and keeps it as a standalone XML
// file: connects, runs one cyclic voltammetry, downloads its result, saves
// it as a measurement file and reads the file back.
//
//   xml_file_example HOST PORT FILE
//
// scripts/build.sh runs it against the fake workstation; give a real
// workstation's address and port (1994 by default) to run it there.

#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_link/marlek_link.hpp"
#include "marlek_link/library_version.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"
#include "marlek_link_json/xml/measurement.hpp"
#include "marlek_link_json/xml/mxml_exporter.hpp"
#include "marlek_link_json/xml/mxml_importer.hpp"

#include <iostream>
#include <memory>

using CvJob = DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>;

namespace {

bool failed(const ErrorObject& error, const char* what)
{
    if (error.getErrorCodeEnum() == ErrorCodeEnum::NONE) {
        return false;
    }
    std::cerr << what << " failed: " << ErrorFormatters::formatOrFallback(error) << std::endl;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: " << argv[0] << " HOST PORT FILE" << std::endl;
        return 2;
    }
    const std::filesystem::path file = argv[3];

    MarlekLink link(argv[1], argv[2]);
    if (failed(link.connect(), "connect")) {
        return 1;
    }

    CvParameters cv;
    cv.start_value = 0.0;
    cv.first_vertex = 0.5;
    cv.second_vertex = -0.5;
    cv.end_value = 0.0;
    cv.scan_rate = 0.1;
    cv.output_data_rate = 2.0;
    cv.num_cycles = 1.0;
    cv.current_range = 1e-3;
    CvJob job(cv);
    if (failed(link.doJob(job), "cyclic voltammetry")) {
        return 1;
    }
    const auto result = link.getJobResultData(job);
    link.disconnect();
    if (!result) {
        failed(result.error(), "fetching the result");
        return 1;
    }
    std::cout << "job " << job.getLastJobInfo().jobId << ": " << (*result)->getRowCount() << " rows" << std::endl;

    MXml::Measurement measurement;
    measurement.appendDataset(*result);
    const MXml::MXmlExporter exporter("xml_file_example", LibraryVersion::getVersion(), false);
    if (failed(exporter.saveAsFileStandalone(measurement, file, "one cyclic voltammetry"), "saving")) {
        return 1;
    }
    std::cout << "saved " << file.string() << std::endl;

    const auto imported = MXml::MXmlImporter().importFromFile(file);
    if (!imported) {
        failed(imported.error(), "reading the file back");
        return 1;
    }
    const auto readBack = std::dynamic_pointer_cast<MXml::Measurement>(imported->object);
    if (!readBack) {
        failed(MXml::MXmlImporter::makeTypeMismatchError(), "reading the file back");
        return 1;
    }
    std::cout << "read back format version " << imported->file_info.file_version << ", written "
              << imported->file_info.creation_timestamp << " by " << imported->file_info.generator << ":";
    for (const auto& dataset : readBack->getDatasets()) {
        std::cout << " " << dataset->getJobInfo().jobId << " with " << dataset->getRowCount() << " rows";
    }
    std::cout << std::endl;
    const bool same = readBack->getDatasets().size() == 1
                   && readBack->getDatasets().front()->getRowCount() == (*result)->getRowCount();
    return same ? 0 : 1;
}
