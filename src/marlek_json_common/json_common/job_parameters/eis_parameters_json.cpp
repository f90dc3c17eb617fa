#include "marlek_json_common/json_common/job_parameters/eis_parameters_json.hpp"

#include "marlek_json_common/json_common/job_parameters/impedance_record_json.hpp"

using impedance_record_json::RecordForm;

namespace {

const RecordForm<EisParametersFrequencyTable, EisParametersFrequencyTableEntry>& frequencyTableForm()
{
    using R = EisParametersFrequencyTable;
    static const RecordForm<R, EisParametersFrequencyTableEntry> form{
        .topLevel = {{"bias", &R::bias}},
        .rangeType = "table",
        .range = {},
        .entriesKey = "spectrum",
        .entries = &R::spectrum,
    };
    return form;
}

const RecordForm<EisParametersGenerate>& generateForm()
{
    using R = EisParametersGenerate;
    static const RecordForm<R> form{
        .topLevel = {{"bias", &R::bias}},
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

const RecordForm<EisMultiSineTable, EisMultiSineTableEntry>& multiSineTableForm()
{
    using R = EisMultiSineTable;
    static const RecordForm<R, EisMultiSineTableEntry> form{
        .topLevel = {{"bias", &R::bias}},
        .rangeType = "table",
        .range =
            {
                {"fundamental_frequency", &R::fundamental_frequency},
                {"pre_duration", &R::pre_duration},
                {"pre_waves", &R::pre_waves},
                {"meas_duration", &R::meas_duration},
                {"meas_waves", &R::meas_waves},
                {"amplitude", &R::amplitude},
            },
        .entriesKey = "harmonics",
        .entries = &R::harmonics,
        .multisineWaveInResult = &R::multisine_wave_in_result,
    };
    return form;
}

const RecordForm<EisMultisineParametersGenerate>& multisineGenerateForm()
{
    using R = EisMultisineParametersGenerate;
    static const RecordForm<R> form{
        .topLevel = {{"bias", &R::bias}},
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
                {"amplitude", &R::amplitude},
                {"meas_duration", &R::meas_duration},
                {"meas_waves", &R::meas_waves},
                {"multisine_pre_waves", &R::multisine_pre_waves},
                {"multisine_meas_waves", &R::multisine_meas_waves},
                {"multisine_decades", &R::multisine_decades},
                {"multisine_starting_harmonic", &R::multisine_starting_harmonic},
            },
        .multisineWaveInResult = &R::multisine_wave_in_result,
    };
    return form;
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const EisParametersFrequencyTable& parameters)
{
    impedance_record_json::write(frequencyTableForm(), target, parameters);
}

EisParametersFrequencyTable tag_invoke(const boost::json::value_to_tag<EisParametersFrequencyTable>&,
                                       const boost::json::value& source)
{
    return impedance_record_json::read(frequencyTableForm(), source);
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const EisParametersGenerate& parameters)
{
    impedance_record_json::write(generateForm(), target, parameters);
}

EisParametersGenerate tag_invoke(const boost::json::value_to_tag<EisParametersGenerate>&,
                                 const boost::json::value& source)
{
    return impedance_record_json::read(generateForm(), source);
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const EisMultiSineTable& parameters)
{
    impedance_record_json::write(multiSineTableForm(), target, parameters);
}

EisMultiSineTable tag_invoke(const boost::json::value_to_tag<EisMultiSineTable>&, const boost::json::value& source)
{
    return impedance_record_json::read(multiSineTableForm(), source);
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const EisMultisineParametersGenerate& parameters)
{
    impedance_record_json::write(multisineGenerateForm(), target, parameters);
}

EisMultisineParametersGenerate tag_invoke(const boost::json::value_to_tag<EisMultisineParametersGenerate>&,
                                          const boost::json::value& source)
{
    return impedance_record_json::read(multisineGenerateForm(), source);
}
