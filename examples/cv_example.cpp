// Runs one cyclic voltammetry on a workstation: connects, prints the live
// rows as they arrive, fetches the result as a dataset and disconnects.
//
//   cv_example HOST PORT
//
// scripts/build.sh runs it against the fake workstation; give a real
// workstation's address and port (1994 by default) to run it there.

#include "marlek_json_common/json_common/logging/error_formatter.hpp"
#include "marlek_link/marlek_link.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <algorithm>
#include <cstdio>
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

// Runs on the connection's thread while the job runs.
void printLiveData(const DcLiveDataMessage& message)
{
    switch (message.kind) {
    case DcLiveDataMessageKind::HEADER:
        std::cout << "live data of " << message.header->getMeasurementType() << ":" << std::endl;
        for (const auto& column : message.header->getColumns()) {
            std::printf("%14s", (column.dimension + " [" + column.unit + "]").c_str());
        }
        std::printf("\n");
        break;
    case DcLiveDataMessageKind::ROWS:
        for (const auto& row : *message.rows) {
            for (const double value : row) {
                std::printf("%14.6g", value);
            }
            std::printf("\n");
        }
        std::fflush(stdout);
        break;
    case DcLiveDataMessageKind::FINISHED:
        std::cout << "live data finished" << std::endl;
        break;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " HOST PORT" << std::endl;
        return 2;
    }

    MarlekLink link(argv[1], argv[2]);
    if (failed(link.connect(), "connect")) {
        return 1;
    }
    if (const auto identity = link.getWorkstationInfo()) {
        std::cout << "connected to " << identity->model_name << " " << identity->serial_number << " (protocol "
                  << identity->protocol_version << ")" << std::endl;
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
    CvJob job(cv, CvJob::Callbacks{printLiveData});

    if (failed(link.doJob(job), "cyclic voltammetry")) {
        return 1;
    }
    std::cout << "job " << job.getLastJobInfo().jobId << " " << job.getLastJobInfo().getStatusString() << std::endl;

    const auto result = link.getJobResultData(job);
    if (!result) {
        failed(result.error(), "fetching the result");
        return 1;
    }
    const auto dataset = std::dynamic_pointer_cast<DcDataset>(*result);
    if (!dataset) {
        failed(MarlekLink::datasetCastError(), "reading the result");
        return 1;
    }
    const auto& current = dataset->getDcTrack("current");
    std::cout << "result: " << dataset->getRowCount() << " rows of " << dataset->getDcDimensions().size()
              << " columns";
    if (!current.empty()) {
        const auto [low, high] = std::minmax_element(current.begin(), current.end());
        std::cout << ", current from " << *low << " A to " << *high << " A";
    }
    std::cout << std::endl;

    link.disconnect();
    return 0;
}
