#pragma once
// The impedance jobs: one instantiation of AcMeasurementJob per technique,
// compiled once in impedance_jobs.cpp. Including this header also brings the
// records' JSON forms (the job request's parameters and their strict
// reading) and XML forms into view, which every use of these jobs needs.

#include "marlek_json_common/json_common/job_parameters/eis_parameters_json.hpp"
#include "marlek_json_common/json_common/job_parameters/geis_parameters_json.hpp"
#include "marlek_link_json/jobs/ac/eis_parameters_xml.hpp"
#include "marlek_link_json/jobs/ac/geis_parameters_xml.hpp"
#include "marlek_link_json/jobs/ac/impedance_parameters_strict_json.hpp"
#include "marlek_link_json/jobs/ac/jobs/acmeasurementjob.hpp"
#include "marlek_link_json/jobs/job_names.hpp"

extern template class AcMeasurementJob<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME>;
extern template class AcMeasurementJob<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>;
extern template class AcMeasurementJob<EisMultiSineTable, &JobNames::EIS_MULTISINE_TABLE_JOB_NAME>;
extern template class AcMeasurementJob<EisMultisineParametersGenerate, &JobNames::EIS_MULTISINE_GENERATE_JOB_NAME>;
extern template class AcMeasurementJob<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>;
extern template class AcMeasurementJob<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>;
