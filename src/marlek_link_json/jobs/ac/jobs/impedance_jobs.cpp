#include "marlek_link_json/jobs/ac/jobs/impedance_jobs.hpp"

template class AcMeasurementJob<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME>;
template class AcMeasurementJob<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>;
template class AcMeasurementJob<EisMultiSineTable, &JobNames::EIS_MULTISINE_TABLE_JOB_NAME>;
template class AcMeasurementJob<EisMultisineParametersGenerate, &JobNames::EIS_MULTISINE_GENERATE_JOB_NAME>;
template class AcMeasurementJob<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>;
template class AcMeasurementJob<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>;
