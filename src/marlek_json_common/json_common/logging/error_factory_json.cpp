#include "marlek_json_common/json_common/logging/error_factory_json.hpp"

#include "marlek_json_common/json_common/logging/error_object_json.hpp"

#include <boost/json.hpp>

namespace ErrorFactory {

boost::json::value makeJsonError(const ErrorObject& error)
{
    return boost::json::value_from(error);
}

} // namespace ErrorFactory
