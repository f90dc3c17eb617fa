#include "marlek_json_common/json_common/job_parameters/geis_parameters_json.hpp"

#include "marlek_json_common/json_common/job_parameters/impedance_record_json.hpp"

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const GeisVaParametersGenerate& parameters)
{
    impedance_record_json::write(impedance_record_fields::geisVaGenerate(), target, parameters);
}

GeisVaParametersGenerate tag_invoke(const boost::json::value_to_tag<GeisVaParametersGenerate>&,
                                    const boost::json::value& source)
{
    return impedance_record_json::read(impedance_record_fields::geisVaGenerate(), source);
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const GeisVaParametersFrequencyTable& parameters)
{
    impedance_record_json::write(impedance_record_fields::geisVaFrequencyTable(), target, parameters);
}

GeisVaParametersFrequencyTable tag_invoke(const boost::json::value_to_tag<GeisVaParametersFrequencyTable>&,
                                          const boost::json::value& source)
{
    return impedance_record_json::read(impedance_record_fields::geisVaFrequencyTable(), source);
}
