#include "marlek_link_json/jobs/control/jobs/set_led_color/set_led_colorjob.hpp"

#include "marlek_link_json/jobs/described_record_xml.hpp"

#include <boost/json.hpp>
#include <tinyxml2.h>

template class MeasurementJobTemplate<SetLedColorParameters, &JobNames::SET_LED_COLOR_JOB_NAME>;

void ParameterXmlForm<SetLedColorParameters>::write(const SetLedColorParameters& record,
                                                    tinyxml2::XMLElement* parameters)
{
    DescribedXml::appendMembers(record, parameters);
}

std::optional<SetLedColorParameters> ParameterXmlForm<SetLedColorParameters>::read(
    const tinyxml2::XMLElement* parameters)
{
    SetLedColorParameters record{};
    boost::mp11::mp_for_each<DescribedXml::Members<SetLedColorParameters>>([&](auto member) {
        if (const auto* child = parameters->FirstChildElement(member.name)) {
            record.*member.pointer = static_cast<std::uint8_t>(child->Unsigned64Text(0) & 0xFFU);
        }
    });
    return record;
}
