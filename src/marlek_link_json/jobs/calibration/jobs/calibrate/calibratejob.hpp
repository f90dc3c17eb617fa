#pragma once
// Job "calibrate": the workstation calibrates itself. It reports like an
// impedance measurement, so the job is an impedance job whose live data go
// to the callbacks added with addLivedataEventHandler; its outcome is its
// final job information.

#include "marlek_link_json/jobs/ac/jobs/acmeasurementjob.hpp"
#include "marlek_link_json/jobs/calibration/calibration_parameters.hpp"
#include "marlek_link_json/jobs/job_names.hpp"

extern template class AcMeasurementJob<CalibrateParametersString, &JobNames::CALIBRATE_JOB_NAME>;

class CalibrateJob : public AcMeasurementJob<CalibrateParametersString, &JobNames::CALIBRATE_JOB_NAME> {
public:
    // Sends the calibration type as its protocol text; default job options,
    // no metadata and no callbacks.
    explicit CalibrateJob(const CalibrateParameters& parameters);
    ~CalibrateJob() override;
};
