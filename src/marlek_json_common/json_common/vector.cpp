#include "marlek_json_common/json_common/vector.hpp"

#include "marlek_json_common/json_common/complex.hpp"
#include "marlek_json_common/json_common/protocol/json_members.hpp"
#include "marlek_json_common/json_common/text/format.hpp"
#include "marlek_json_common/json_common/text/number_text.hpp"

#include <boost/json.hpp>

#include <stdexcept>
#include <string>

namespace {

// Reads a key the way std::stod does (leading white space skipped, an
// optional sign, decimal or "0x" hexadecimal, inf and nan, the rest of the
// text ignored) but independent of the C locale: under a locale whose decimal
// separator is a comma, std::stod would read "1.5e+03" as 1 and file the
// value under the wrong frequency.
double frequencyFromKey(std::string_view key)
{
    double value = 0.0;
    const std::errc ec = numtext::scanDouble(key, value).ec;
    if (ec == std::errc::invalid_argument) {
        throw std::invalid_argument(mfmt::format("spectrum key is not a number: '{}'", key));
    }
    if (ec == std::errc::result_out_of_range) {
        throw std::out_of_range(mfmt::format("spectrum key is out of range: '{}'", key));
    }
    // A NaN key would break the ordering of the map and let it overwrite
    // arbitrary entries; no frequency is NaN.
    if (value != value) {
        throw std::invalid_argument(mfmt::format("spectrum key is not a number: '{}'", key));
    }
    return value;
}

} // namespace

namespace boost::json {

void tag_invoke(const value_from_tag&, value& target, const SpectrumMap& spectrum)
{
    object members;
    for (const auto& [frequency, point] : spectrum) {
        members[mfmt::format("{:.15e}", frequency)] = object{{"real", point.real()}, {"imag", point.imag()}};
    }
    target = std::move(members);
}

SpectrumMap tag_invoke(const value_to_tag<SpectrumMap>&, const value& source)
{
    const auto* members = source.if_object();
    if (members == nullptr) {
        jsonmembers::throwJsonError(error::not_object);
    }
    SpectrumMap spectrum;
    for (const auto& member : *members) {
        spectrum.insert_or_assign(frequencyFromKey(member.key()), value_to<std::complex<double>>(member.value()));
    }
    return spectrum;
}

} // namespace boost::json
