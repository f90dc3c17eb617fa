#include "marlek_link_json/jobs/parameter_object_json.hpp"

#include "marlek_json_common/json_common/text/number_text.hpp"

std::string doubleToString(const double& value)
{
    return numtext::shortest(value);
}
