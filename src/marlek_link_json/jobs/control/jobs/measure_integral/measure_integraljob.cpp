#include "marlek_link_json/jobs/control/jobs/measure_integral/measure_integraljob.hpp"

#include <boost/json.hpp>

#include <limits>

template class MeasurementJobTemplate<MeasureIntegralParameters, &JobNames::MEASURE_INTEGRAL_JOB_NAME>;
template class SingleValueMeasurementJobTemplate<double, MeasureIntegralParameters,
                                                 &JobNames::MEASURE_INTEGRAL_JOB_NAME>;

MeasureIntegralJob::MeasureIntegralJob(const MeasureIntegralParameters& parameters, const JobOptions& options)
    : SingleValueMeasurementJobTemplate(parameters, options)
{
    result = std::numeric_limits<double>::quiet_NaN();
}

void MeasureIntegralJob::extractJobResult(const boost::json::object& completion)
{
    const auto* received = resultObject(completion);
    if (received == nullptr) {
        return;
    }
    const auto* value = received->if_contains("value");
    if (value == nullptr || !value->is_number()) {
        return;
    }
    result = value->to_number<double>();
}
