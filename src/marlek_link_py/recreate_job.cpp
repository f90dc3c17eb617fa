// Re-creating jobs: the job type selects the job class; the parameter object
// must be the record of exactly that class. The new job owns copies of what
// it takes (the stop conditions of a DC job stay shared, as in every copy of
// a job information) and starts with default options and no callbacks.

#include "marlek_link_py/recreate_job.hpp"

#include "marlek_link_json/jobs/ac/dataset/eis_dataset.hpp"
#include "marlek_link_json/jobs/ac/jobs/impedance_jobs.hpp"
#include "marlek_link_json/jobs/dc/dataset/dc_dataset.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"
#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include <pybind11/pybind11.h>

#include <memory>
#include <utility>

namespace py = pybind11;

namespace {

template <typename Job>
const typename Job::ParameterStruct* recordOf(const JobInfo& info)
{
    using Wrapped = SerializableParameterStruct<typename Job::ParameterStruct>;
    const auto* parameters = dynamic_cast<const Wrapped*>(info.getParameterObject().get());
    return parameters == nullptr ? nullptr : &parameters->getRecord();
}

template <typename Job>
bool tryDc(const JobInfo& info, py::object& result)
{
    if (info.type != Job::name) {
        return false;
    }
    if (const auto* record = recordOf<Job>(info)) {
        result = py::cast(std::make_unique<Job>(*record, info.jobMeta, StopConditionList{info.stopConditions}));
    }
    return true;
}

template <typename Job>
bool tryAc(const JobInfo& info, py::object& result)
{
    if (info.type != Job::name) {
        return false;
    }
    if (const auto* record = recordOf<Job>(info)) {
        result = py::cast(std::make_unique<Job>(*record, info.jobMeta));
    }
    return true;
}

} // namespace

RecreatedDcJob recreateDcJob(const DcDataset& dataset)
{
    const JobInfo& info = dataset.getJobInfo();
    py::object result = py::none();
    tryDc<DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<DpvParameters, &JobNames::DPV_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<NpvParameters, &JobNames::NPV_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<SwvParameters, &JobNames::SWV_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<PogaParameters, &JobNames::POGA_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<RampParameters, &JobNames::RAMP_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<WaveParameters, &JobNames::WAVE_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<WaveFileParameters, &JobNames::WAVE_FILE_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<FastCyclingParameters, &JobNames::FAST_CYCLING_JOB_NAME>>(info, result) ||
        tryDc<DcMeasurementJob<SteadyStairsParameters, &JobNames::STEADYSTAIRS_JOB_NAME>>(info, result);
    return declared<RecreatedDcJob>(std::move(result));
}

RecreatedEisJob recreateEisJob(const EisDataset& dataset)
{
    const JobInfo& info = dataset.getJobInfo();
    py::object result = py::none();
    tryAc<AcMeasurementJob<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME>>(info, result) ||
        tryAc<AcMeasurementJob<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>>(info, result) ||
        tryAc<AcMeasurementJob<EisMultiSineTable, &JobNames::EIS_MULTISINE_TABLE_JOB_NAME>>(info, result) ||
        tryAc<AcMeasurementJob<EisMultisineParametersGenerate, &JobNames::EIS_MULTISINE_GENERATE_JOB_NAME>>(info,
                                                                                                          result) ||
        tryAc<AcMeasurementJob<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>>(info, result) ||
        tryAc<AcMeasurementJob<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>>(info, result);
    return declared<RecreatedEisJob>(std::move(result));
}
