#pragma once

// What the impedance job families share: the field list of a frequency
// point, which the single-sine and galvanostatic tables both hold, and the
// texts that describe the drift correction.

#include "marlek_link_py/docstring.hpp"
#include "marlek_link_py/job_binding.hpp"

#include "marlek_json_common/json_common/job_parameters/eis_parameters.hpp"

#define MARLEK_BULLETS2(first, second) "\n        * " first "\n        * " second "\n"

#define MARLEK_DRIFT_CORRECTION_DOC                                                                              \
    "how much of the drift correction is applied, DriftCorrection.FULL by default. DC_ONLY drops the spectral " \
    "single period estimator, OFF subtracts nothing and only reports the drift."

#define MARLEK_DRIFT_CORRECTION_PARAM                                                                          \
    "    :param drift_correction: how much of the drift correction is applied:\n\n"                            \
    "        * FULL (default) corrects a point measured with one period spectrally and every point above\n"    \
    "          it from the period means\n"                                                                    \
    "        * DC_ONLY drops the spectral estimator, so a point measured with a single period stays\n"          \
    "          uncorrected\n"                                                                                 \
    "        * OFF subtracts nothing and only reports the estimated drift per path\n"

#define MARLEK_META_DATA_PARAM "    :param meta_data: dict[str, str] with user-defined key-value pairs\n"

#define MARLEK_JSON_EXAMPLE_HEAD                                                                               \
    "\n    .. collapse:: WebSocket JSON Example\n\n"                                                           \
    "        .. code-block:: json\n\n"

namespace impedance_fields {

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
