#include "marlek_json_common/json_common/job_parameters/geis_parameters_json.hpp"

#include "marlek_json_common/json_common/job_parameters/impedance_record_json.hpp"

using impedance_record_json::RecordForm;

namespace {

const RecordForm<GeisVaParametersGenerate>& generateForm()
{
    using R = GeisVaParametersGenerate;
    static const RecordForm<R> form{
        .topLevel =
            {
                {"bias", &R::bias},
                {"minimum_current_amplitude", &R::minimum_current_amplitude},
                {"maximum_current_amplitude", &R::maximum_current_amplitude},
            },
        .rangeType = "generate",
        .range =
            {
                {"min_frequency", &R::min_frequency},
                {"max_frequency", &R::max_frequency},
                {"start_frequency", &R::start_frequency},
                {"points_per_decade_upper", &R::points_per_decade_upper},
                {"points_per_decade_lower", &R::points_per_decade_lower},
                {"pre_duration", &R::pre_duration},
                {"pre_waves", &R::pre_waves},
                {"meas_duration", &R::meas_duration},
                {"meas_waves", &R::meas_waves},
                {"amplitude", &R::amplitude},
            },
    };
    return form;
}

const RecordForm<GeisVaParametersFrequencyTable, EisParametersFrequencyTableEntry>& frequencyTableForm()
{
    using R = GeisVaParametersFrequencyTable;
    static const RecordForm<R, EisParametersFrequencyTableEntry> form{
        .topLevel =
            {
                {"bias", &R::bias},
                {"minimum_current_amplitude", &R::minimum_current_amplitude},
                {"maximum_current_amplitude", &R::maximum_current_amplitude},
            },
        .rangeType = "table",
        .range = {},
        .entriesKey = "spectrum",
        .entries = &R::spectrum,
    };
    return form;
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const GeisVaParametersGenerate& parameters)
{
    impedance_record_json::write(generateForm(), target, parameters);
}

GeisVaParametersGenerate tag_invoke(const boost::json::value_to_tag<GeisVaParametersGenerate>&,
                                    const boost::json::value& source)
{
    return impedance_record_json::read(generateForm(), source);
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const GeisVaParametersFrequencyTable& parameters)
{
    impedance_record_json::write(frequencyTableForm(), target, parameters);
}

GeisVaParametersFrequencyTable tag_invoke(const boost::json::value_to_tag<GeisVaParametersFrequencyTable>&,
                                          const boost::json::value& source)
{
    return impedance_record_json::read(frequencyTableForm(), source);
}
