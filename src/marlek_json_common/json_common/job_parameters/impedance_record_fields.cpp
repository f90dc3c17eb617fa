#include "marlek_json_common/json_common/job_parameters/impedance_record_fields.hpp"

namespace impedance_record_fields {

namespace {

// The ten generator numbers of a generated sweep, in the order of
// EisParametersGenerate.
template <class R>
NumberFields<R> generatorFields()
{
    return {
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
    };
}

template <class R>
NumberFields<R> biasAndCurrentLimits()
{
    return {
        {"bias", &R::bias},
        {"minimum_current_amplitude", &R::minimum_current_amplitude},
        {"maximum_current_amplitude", &R::maximum_current_amplitude},
    };
}

// A frequency-table point in the XML's order, which is not the field order.
NumberFields<EisParametersFrequencyTableEntry> spectrumEntryFields()
{
    using E = EisParametersFrequencyTableEntry;
    return {
        {"frequency", &E::frequency},
        {"amplitude", &E::amplitude},
        {"meas_waves", &E::meas_waves},
        {"meas_duration", &E::meas_duration},
        {"pre_waves", &E::pre_waves},
        {"pre_duration", &E::pre_duration},
    };
}

} // namespace

const RecordFields<EisParametersFrequencyTable, EisParametersFrequencyTableEntry>& eisFrequencyTable()
{
    using R = EisParametersFrequencyTable;
    static const RecordFields<R, EisParametersFrequencyTableEntry> fields{
        .topLevel = {{"bias", &R::bias}},
        .rangeType = "table",
        .entriesKey = "spectrum",
        .entries = &R::spectrum,
        .entryFields = spectrumEntryFields(),
    };
    return fields;
}

const RecordFields<EisParametersGenerate>& eisGenerate()
{
    using R = EisParametersGenerate;
    static const RecordFields<R> fields{
        .topLevel = {{"bias", &R::bias}},
        .rangeType = "generate",
        .range = generatorFields<R>(),
    };
    return fields;
}

const RecordFields<EisMultiSineTable, EisMultiSineTableEntry>& eisMultiSineTable()
{
    using R = EisMultiSineTable;
    using E = EisMultiSineTableEntry;
    static const RecordFields<R, E> fields{
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
        .entryFields = {{"harmonic", &E::harmonic}, {"weight", &E::weight}},
        .multisineWaveInResult = &R::multisine_wave_in_result,
    };
    return fields;
}

const RecordFields<EisMultisineParametersGenerate>& eisMultisineGenerate()
{
    using R = EisMultisineParametersGenerate;
    static const RecordFields<R> fields = [] {
        RecordFields<R> built{
            .topLevel = {{"bias", &R::bias}},
            .rangeType = "generate",
            .range = generatorFields<R>(),
            .multisineWaveInResult = &R::multisine_wave_in_result,
        };
        built.range.insert(built.range.end(), {
                                                  {"multisine_pre_waves", &R::multisine_pre_waves},
                                                  {"multisine_meas_waves", &R::multisine_meas_waves},
                                                  {"multisine_decades", &R::multisine_decades},
                                                  {"multisine_starting_harmonic", &R::multisine_starting_harmonic},
                                              });
        return built;
    }();
    return fields;
}

const RecordFields<GeisVaParametersGenerate>& geisVaGenerate()
{
    using R = GeisVaParametersGenerate;
    static const RecordFields<R> fields{
        .topLevel = biasAndCurrentLimits<R>(),
        .rangeType = "generate",
        .range = generatorFields<R>(),
    };
    return fields;
}

const RecordFields<GeisVaParametersFrequencyTable, EisParametersFrequencyTableEntry>& geisVaFrequencyTable()
{
    using R = GeisVaParametersFrequencyTable;
    static const RecordFields<R, EisParametersFrequencyTableEntry> fields{
        .topLevel = biasAndCurrentLimits<R>(),
        .rangeType = "table",
        .entriesKey = "spectrum",
        .entries = &R::spectrum,
        .entryFields = spectrumEntryFields(),
    };
    return fields;
}

} // namespace impedance_record_fields
