#include "marlek_link_json/jobs/control/jobs/get_date_time/get_date_timejob.hpp"

#include <boost/json.hpp>

template class MeasurementJobTemplate<AbstractMeasurementJob::Parameterless, &JobNames::GET_DATETIME_NAME>;
template class SingleValueMeasurementJobTemplate<std::string, AbstractMeasurementJob::Parameterless,
                                                 &JobNames::GET_DATETIME_NAME>;

void GetDateTimeJob::extractJobResult(const boost::json::object& completion)
{
    const auto* reported = resultObject(completion);
    if (reported == nullptr) {
        return;
    }
    if (const auto* text = reported->if_contains("datetime"); text != nullptr && text->is_string()) {
        result.assign(text->get_string().data(), text->get_string().size());
    }
}
