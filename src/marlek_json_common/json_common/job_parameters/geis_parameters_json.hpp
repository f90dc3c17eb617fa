#pragma once

#include "marlek_json_common/json_common/job_parameters/geis_parameters.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// {"bias", "minimum_current_amplitude", "maximum_current_amplitude",
// "frequency_range": {"type", ...}} then "drift_correction" when set. Read
// all or nothing like the potentiostatic records: without both current
// limits the result is the default record.

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const GeisVaParametersGenerate& parameters);
GeisVaParametersGenerate tag_invoke(const boost::json::value_to_tag<GeisVaParametersGenerate>&,
                                    const boost::json::value& source);

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const GeisVaParametersFrequencyTable& parameters);
GeisVaParametersFrequencyTable tag_invoke(const boost::json::value_to_tag<GeisVaParametersFrequencyTable>&,
                                          const boost::json::value& source);
