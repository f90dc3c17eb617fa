#pragma once

// What the impedance job families share: the fields of a generated
// spectrum's frequency limits (all three generated kinds) and of its
// single-sine sweep (eis and geis_va, whose records hold the same run of
// fields), the field list of a frequency point, which the single-sine and
// galvanostatic tables both hold, and the text that describes the drift
// correction.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/job_binding.hpp"

#include "marlek_json_common/json_common/job_parameters/eis_parameters.hpp"

#define MARLEK_BULLETS2(first, second) "\n        * " first "\n        * " second "\n"

#define MARLEK_DRIFT_CORRECTION_DOC                                                                            \
    "\n    how much of the drift correction is applied:\n\n"                                                     \
    "    * FULL (default) corrects a point measured with one period spectrally and every point above it\n"      \
    "      from the period means\n"                                                                             \
    "    * DC_ONLY drops the spectral estimator, so a point measured with a single period stays uncorrected\n"  \
    "    * OFF subtracts nothing and only reports the estimated drift per path\n"

#define MARLEK_SPECTRUM_DOC "spectrum measurement settings"

namespace impedance_fields {

template <typename P>
auto frequencyLimits()
{
    namespace jb = job_binding;
    return jb::fields<P>(
        jb::field("min_frequency", &P::min_frequency, MARLEK_DOC("lower frequency limit of the impedance spectrum")),
        jb::field("max_frequency", &P::max_frequency, MARLEK_DOC("upper frequency limit of the impedance spectrum")),
        jb::field("start_frequency", &P::start_frequency, MARLEK_DOC("starting frequency of the impedance spectrum")));
}

// From `bias` to `amplitude`, whose meanings differ between the families.
template <typename P>
auto generatedSweep(const char* biasDoc, const char* amplitudeDoc)
{
    namespace jb = job_binding;
    return jb::join(
        jb::join(jb::fields<P>(jb::field("bias", &P::bias, biasDoc)), frequencyLimits<P>()),
        jb::fields<P>(
            jb::field("points_per_decade_upper", &P::points_per_decade_upper,
                      MARLEK_DOC("steps per decade between 66 Hz and max_frequency")),
            jb::field("points_per_decade_lower", &P::points_per_decade_lower,
                      MARLEK_DOC("steps per decade at min_frequency")),
            jb::field("pre_duration", &P::pre_duration,
                      MARLEK_DOC("minimum pre-conditioning time for each frequency step")),
            jb::field("pre_waves", &P::pre_waves,
                      MARLEK_DOC("number of pre-conditioning sine waves before each frequency step")),
            jb::field("meas_duration", &P::meas_duration, MARLEK_DOC("minimum recording time for each frequency step")),
            jb::field("meas_waves", &P::meas_waves,
                      MARLEK_DOC("minimum number of sine waves for each frequency step")),
            jb::field("amplitude", &P::amplitude, amplitudeDoc)));
}

template <typename P>
auto driftCorrection()
{
    return job_binding::field("drift_correction", &P::drift_correction, MARLEK_DRIFT_CORRECTION_DOC)
        .orElse(DriftCorrection::FULL);
}

inline auto frequencyTableEntry()
{
    using E = EisParametersFrequencyTableEntry;
    namespace jb = job_binding;
    return jb::fields<E>(
        jb::field("frequency", &E::frequency, MARLEK_DOC("corresponding AC frequency")),
        jb::field("amplitude", &E::amplitude, MARLEK_DOC("corresponding AC peak amplitude")),
        jb::field("pre_duration", &E::pre_duration,
                  MARLEK_BULLETS2("minimum pre-conditioning time for each frequency step",
                                  "allow longer pre-conditioning at higher frequencies")),
        jb::field("pre_waves", &E::pre_waves,
                  MARLEK_BULLETS2("number of pre-conditioning sine waves before each frequency step",
                                  "more waves for better pre-conditioning")),
        jb::field("meas_duration", &E::meas_duration,
                  MARLEK_BULLETS2("minimum recording time for each frequency step",
                                  "allow more averages at higher frequencies")),
        jb::field("meas_waves", &E::meas_waves,
                  MARLEK_BULLETS2("minimum number of sine waves for each frequency step",
                                  "more averages for higher SNR")));
}

} // namespace impedance_fields
