#pragma once
// The twelve DC job kinds, each an explicit instantiation of DcMeasurementJob
// compiled once in dcmeasurementjobs.cpp.

#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjob.hpp"
#include "marlek_link_json/jobs/dc/parameters/ac_cv_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/cv_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/dpv_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/fast_cycling_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/npv_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/ocv_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/poga_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/ramp_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/steady_stairs_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/swv_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/wave_file_parameters.hpp"
#include "marlek_link_json/jobs/dc/parameters/wave_parameters.hpp"
#include "marlek_link_json/jobs/job_names.hpp"

extern template class DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>;
extern template class DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>;
extern template class DcMeasurementJob<FastCyclingParameters, &JobNames::FAST_CYCLING_JOB_NAME>;
extern template class DcMeasurementJob<AcCvParameters, &JobNames::AC_CV_JOB_NAME>;
extern template class DcMeasurementJob<PogaParameters, &JobNames::POGA_JOB_NAME>;
extern template class DcMeasurementJob<RampParameters, &JobNames::RAMP_JOB_NAME>;
extern template class DcMeasurementJob<SteadyStairsParameters, &JobNames::STEADYSTAIRS_JOB_NAME>;
extern template class DcMeasurementJob<DpvParameters, &JobNames::DPV_JOB_NAME>;
extern template class DcMeasurementJob<NpvParameters, &JobNames::NPV_JOB_NAME>;
extern template class DcMeasurementJob<SwvParameters, &JobNames::SWV_JOB_NAME>;
extern template class DcMeasurementJob<WaveParameters, &JobNames::WAVE_JOB_NAME>;
extern template class DcMeasurementJob<WaveFileParameters, &JobNames::WAVE_FILE_JOB_NAME>;
