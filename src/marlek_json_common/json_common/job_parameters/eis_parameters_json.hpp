#pragma once

#include "marlek_json_common/json_common/job_parameters/eis_parameters.hpp"

#include <boost/json/conversion.hpp>
#include <boost/json/fwd.hpp>

// Writers: {"bias", "frequency_range": {"type", ...}} then
// "multisine_wave_in_result" and "drift_correction", each only when set;
// counts as unsigned integers.
//
// Readers: all or nothing. A missing or mistyped required member gives the
// default record; boost::system::system_error is raised only for a value
// that is not an object (not_object), an inexact count (not_exact) or a
// malformed table entry.

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const EisParametersFrequencyTable& parameters);
EisParametersFrequencyTable tag_invoke(const boost::json::value_to_tag<EisParametersFrequencyTable>&,
                                       const boost::json::value& source);

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const EisParametersGenerate& parameters);
EisParametersGenerate tag_invoke(const boost::json::value_to_tag<EisParametersGenerate>&,
                                 const boost::json::value& source);

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const EisMultiSineTable& parameters);
EisMultiSineTable tag_invoke(const boost::json::value_to_tag<EisMultiSineTable>&, const boost::json::value& source);

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const EisMultisineParametersGenerate& parameters);
EisMultisineParametersGenerate tag_invoke(const boost::json::value_to_tag<EisMultisineParametersGenerate>&,
                                          const boost::json::value& source);
