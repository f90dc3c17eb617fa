#pragma once
// The impedance records have JSON readers of their own, all or nothing; the
// strict reading of job information takes them as they are.

#include "marlek_json_common/json_common/job_parameters/eis_parameters_json.hpp"
#include "marlek_json_common/json_common/job_parameters/geis_parameters_json.hpp"
#include "marlek_json_common/json_common/json/strict_reader.hpp"

namespace StrictJson {

template <>
struct Converter<EisParametersFrequencyTable> : ValueToConverter<EisParametersFrequencyTable> {};
template <>
struct Converter<EisParametersGenerate> : ValueToConverter<EisParametersGenerate> {};
template <>
struct Converter<EisMultiSineTable> : ValueToConverter<EisMultiSineTable> {};
template <>
struct Converter<EisMultisineParametersGenerate> : ValueToConverter<EisMultisineParametersGenerate> {};
template <>
struct Converter<GeisVaParametersGenerate> : ValueToConverter<GeisVaParametersGenerate> {};
template <>
struct Converter<GeisVaParametersFrequencyTable> : ValueToConverter<GeisVaParametersFrequencyTable> {};

} // namespace StrictJson
