#include "marlek_json_common/json_common/complex.hpp"

#include "marlek_json_common/json_common/protocol/json_members.hpp"

#include <boost/json.hpp>

namespace boost::json {

namespace {

double doubleMember(const object& source, string_view key)
{
    const auto* member = source.if_contains(key);
    if (member == nullptr) {
        jsonmembers::throwJsonError(error::not_found);
    }
    if (!member->is_double()) {
        jsonmembers::throwJsonError(error::not_double);
    }
    return member->get_double();
}

} // namespace

std::complex<double> tag_invoke(const value_to_tag<std::complex<double>>&, const value& source)
{
    const auto* object = source.if_object();
    if (object == nullptr) {
        jsonmembers::throwJsonError(error::not_object);
    }
    return {doubleMember(*object, "real"), doubleMember(*object, "imag")};
}

} // namespace boost::json
