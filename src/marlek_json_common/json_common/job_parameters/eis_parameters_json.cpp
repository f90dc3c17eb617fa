#include "marlek_json_common/json_common/job_parameters/eis_parameters_json.hpp"

#include "marlek_json_common/json_common/job_parameters/impedance_record_json.hpp"

#include <algorithm>
#include <iterator>

using impedance_record_fields::NumberField;
using impedance_record_fields::NumberFields;
using impedance_record_fields::RecordFields;

namespace {

// Moves the field of `moved` to stand right after the field of `anchor`.
template <class R, class M, class A>
void moveAfter(NumberFields<R>& fields, M R::*moved, A R::*anchor)
{
    const auto fieldOf = [&fields](auto member) {
        return std::ranges::find(fields, typename NumberField<R>::Member{member}, &NumberField<R>::member);
    };
    const auto field = *fieldOf(moved);
    fields.erase(fieldOf(moved));
    fields.insert(std::next(fieldOf(anchor)), field);
}

// The JSON of a multisine sweep keeps the record's own order, in which the
// amplitude comes right after "pre_waves".
const RecordFields<EisMultisineParametersGenerate>& multisineGenerateForm()
{
    using R = EisMultisineParametersGenerate;
    static const RecordFields<R> form = [] {
        auto built = impedance_record_fields::eisMultisineGenerate();
        moveAfter(built.range, &R::amplitude, &R::pre_waves);
        return built;
    }();
    return form;
}

} // namespace

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target,
                const EisParametersFrequencyTable& parameters)
{
    impedance_record_json::write(impedance_record_fields::eisFrequencyTable(), target, parameters);
}

EisParametersFrequencyTable tag_invoke(const boost::json::value_to_tag<EisParametersFrequencyTable>&,
                                       const boost::json::value& source)
{
    return impedance_record_json::read(impedance_record_fields::eisFrequencyTable(), source);
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const EisParametersGenerate& parameters)
{
    impedance_record_json::write(impedance_record_fields::eisGenerate(), target, parameters);
}

EisParametersGenerate tag_invoke(const boost::json::value_to_tag<EisParametersGenerate>&,
                                 const boost::json::value& source)
{
    return impedance_record_json::read(impedance_record_fields::eisGenerate(), source);
}

void tag_invoke(const boost::json::value_from_tag&, boost::json::value& target, const EisMultiSineTable& parameters)
{
    impedance_record_json::write(impedance_record_fields::eisMultiSineTable(), target, parameters);
}

EisMultiSineTable tag_invoke(const boost::json::value_to_tag<EisMultiSineTable>&, const boost::json::value& source)
{
    return impedance_record_json::read(impedance_record_fields::eisMultiSineTable(), source);
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
