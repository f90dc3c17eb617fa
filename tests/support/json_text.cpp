#include "support/json_text.hpp"

#include <boost/json.hpp>

boost::json::value parsePrecise(std::string_view text)
{
    boost::json::parse_options options;
    options.numbers = boost::json::number_precision::precise;
    return boost::json::parse(text, {}, options);
}

std::string canonical(std::string_view text)
{
    return boost::json::serialize(boost::json::parse(text));
}
