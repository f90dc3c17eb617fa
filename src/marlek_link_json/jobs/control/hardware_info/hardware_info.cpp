#include "marlek_link_json/jobs/control/hardware_info/hardware_info.hpp"

#include <algorithm>

namespace {

enum class Address { Url, Urn };

template <typename Element>
const std::string& address(const Element& element, Address which)
{
    return which == Address::Url ? element.url : element.urn;
}

// The address `give` of the first path, else of the first potentiostat,
// whose address `by` equals `wanted`; null when none does.
const std::string* lookUp(const HardwareInfo& info, Address by, std::string_view wanted, Address give)
{
    const auto matches = [&](const auto& element) { return address(element, by) == wanted; };
    if (const auto path = std::find_if(info.paths.begin(), info.paths.end(), matches); path != info.paths.end()) {
        return &address(*path, give);
    }
    const auto potentiostat = std::find_if(info.potentiostats.begin(), info.potentiostats.end(), matches);
    if (potentiostat != info.potentiostats.end()) {
        return &address(*potentiostat, give);
    }
    return nullptr;
}

} // namespace

bool HardwareInfo::containsUrn(std::string_view urn) const
{
    return lookUp(*this, Address::Urn, urn, Address::Url) != nullptr;
}

bool HardwareInfo::containsUrl(std::string_view url) const
{
    return lookUp(*this, Address::Url, url, Address::Urn) != nullptr;
}

std::string HardwareInfo::convertUrnToUrl(std::string_view urn) const
{
    const auto* url = lookUp(*this, Address::Urn, urn, Address::Url);
    return url != nullptr ? *url : std::string();
}

std::string HardwareInfo::convertUrlToUrn(std::string_view url) const
{
    const auto* urn = lookUp(*this, Address::Url, url, Address::Urn);
    return urn != nullptr ? *urn : std::string();
}
