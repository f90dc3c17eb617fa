// The workstation's device tree: HardwareInfo with its paths, potentiostats
// and cards, and their ranges. Python never builds these records; it gets
// a tree by value from a job or a measurement and reads and edits it through
// views.

#include "marlek_link_py/data_text.hpp"
#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/record_list.hpp"

#include "marlek_link_json/jobs/control/hardware_info/hardware_info.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string_view>

namespace py = pybind11;

namespace {

void registerRanges(py::module_& m)
{
    py::class_<BandwidthRange>(m, "BandwidthRange")
        .def_readwrite("index", &BandwidthRange::index, "index of the bandwidth")
        .def_readwrite("enabled", &BandwidthRange::enabled, "bandwidth is enabled");
    // The core record's enabled flag stays hidden: the workstation does not
    // switch current ranges by it.
    py::class_<CurrentRange>(m, "CurrentRange")
        .def_readwrite("index", &CurrentRange::index, "index of the current range")
        .def_readwrite("current", &CurrentRange::current, "maximum current of the range")
        .def_readwrite("resistance", &CurrentRange::resistance, "nominal shunt resistance");
    py::class_<VoltageRange>(m, "VoltageRange")
        .def_readwrite("index", &VoltageRange::index, "index of the voltage range")
        .def_readwrite("voltage", &VoltageRange::voltage, "maximum voltage of the range");
    py::class_<ComplianceRange>(m, "ComplianceRange")
        .def_readwrite("index", &ComplianceRange::index, "index of the compliance range")
        .def_readwrite("compliance", &ComplianceRange::compliance, "maximum compliance voltage of the range");
    py::class_<GainRange>(m, "GainRange")
        .def_readwrite("index", &GainRange::index, "index of the gain range")
        .def_readwrite("enabled", &GainRange::enabled, "gain range is enabled")
        .def_readwrite("nominal_gain", &GainRange::nominal_gain, "nominal gain factor");
    py::class_<FilterRange>(m, "FilterRange")
        .def_readwrite("index", &FilterRange::index, "index of the filter range")
        .def_readwrite("enabled", &FilterRange::enabled, "filter range is enabled")
        .def_readwrite("frequency", &FilterRange::frequency,
                       "maximum frequency of the filter used for impedance measurements");
}

void registerPathInfo(py::module_& m)
{
    py::class_<PathInfo> cls(m, "PathInfo");
    cls.def_property("url", dataTextField(&PathInfo::url), textFieldSetter(&PathInfo::url), "the path in URL notation")
        .def_property("urn", dataTextField(&PathInfo::urn), textFieldSetter(&PathInfo::urn), "the path in URN notation")
        .def_property("sampling", dataTextField(&PathInfo::sampling), textFieldSetter(&PathInfo::sampling),
                       "sampling type: \"simultan\" (parallel channels sampled at the same time), \"acq\" "
                       "(sequential acquisition channels sampled after the parallel ones) or \"high_precision\" "
                       "(slow high-precision 32-bit channels)")
        .def_property("source", dataTextField(&PathInfo::source), textFieldSetter(&PathInfo::source),
                       "where the signal is measured: \"shunt\" (current channel of a potentiostat), \"voltage\" "
                       "(voltage channel of a potentiostat) or \"input\" (analog input of an add-on card)")
        .def_readwrite("relevance", &PathInfo::relevance, "how relevant the channel is: 1.0 best, 0 worst");
    record_list::property(cls, "gain_ranges", &PathInfo::gain_ranges, "gain factor ranges (index, nominal gain)");
    record_list::property(cls, "filter_ranges", &PathInfo::filter_ranges,
                          "filter ranges (index, maximum frequency used for impedance measurements)");
}

void registerPotentiostatInfo(py::module_& m)
{
    py::class_<PotentiostatInfo> cls(m, "PotentiostatInfo");
    cls.def_property("url", dataTextField(&PotentiostatInfo::url), textFieldSetter(&PotentiostatInfo::url),
                     "the potentiostat's path in URL notation")
        .def_property("urn", dataTextField(&PotentiostatInfo::urn), textFieldSetter(&PotentiostatInfo::urn),
                      "the potentiostat's path in URN notation")
        .def_property("identifier", dataTextField(&PotentiostatInfo::identifier),
                      textFieldSetter(&PotentiostatInfo::identifier), "unique identification of the potentiostat")
        .def_property("serialnumber", dataTextField(&PotentiostatInfo::serialnumber),
                      textFieldSetter(&PotentiostatInfo::serialnumber), "serial number")
        .def_readwrite("has_calibration_data", &PotentiostatInfo::has_calibration_data,
                       "calibration data exist; without them no measurement is possible")
        .def_property("software", dataTextField(&PotentiostatInfo::software),
                      textFieldSetter(&PotentiostatInfo::software), "software version of the potentiostat")
        .def_readwrite("dac_resolution", &PotentiostatInfo::dac_resolution,
                       "resolution in bits of the DAC that produces output values");
    record_list::property(cls, "current_ranges", &PotentiostatInfo::current_ranges,
                          "current ranges (index, maximum current, shunt resistance)");
    record_list::property(cls, "voltage_ranges", &PotentiostatInfo::voltage_ranges,
                          "voltage ranges; set only by the user, never automatically by the device");
    record_list::property(cls, "compliance_ranges", &PotentiostatInfo::compliance_ranges,
                          "compliance ranges; set only by the user, never automatically by the device");
    record_list::property(cls, "bandwidth_ranges", &PotentiostatInfo::bandwidth_ranges, "");
}

void registerCardInfo(py::module_& m)
{
    py::class_<CardInfo>(m, "CardInfo")
        .def_property("name", dataTextField(&CardInfo::name), textFieldSetter(&CardInfo::name), "name of the card")
        .def_property("symbol", dataTextField(&CardInfo::symbol), textFieldSetter(&CardInfo::symbol),
                      "symbol of the card")
        .def_property("serialnumber", dataTextField(&CardInfo::serialnumber), textFieldSetter(&CardInfo::serialnumber),
                      "serial number of the card")
        .def_property("firmware", dataTextField(&CardInfo::firmware), textFieldSetter(&CardInfo::firmware),
                      "firmware version of the card")
        .def_property("hardware", dataTextField(&CardInfo::hardware), textFieldSetter(&CardInfo::hardware),
                      "hardware revision of the card");
}

void registerHardwareInfo(py::module_& m)
{
    py::class_<HardwareInfo> cls(m, "HardwareInfo");
    cls.def_readwrite("workstation", &HardwareInfo::workstation, "identity of the workstation");
    record_list::property(cls, "paths", &HardwareInfo::paths, "all signal paths");
    record_list::property(cls, "potentiostats", &HardwareInfo::potentiostats, "all potentiostats");
    record_list::property(cls, "cards", &HardwareInfo::cards, "all installed cards");
    // The misspelt names are the published interface.
    cls.def(
           "constains_urn", [](const HardwareInfo& info, std::string_view urn) { return info.containsUrn(urn); },
           py::arg("urn"), "whether a path or a potentiostat has exactly this URN")
        .def(
            "constains_url", [](const HardwareInfo& info, std::string_view url) { return info.containsUrl(url); },
            py::arg("url"), "whether a path or a potentiostat has exactly this URL")
        .def(
            "convert_urn_to_url",
            withDataText(
                +[](const HardwareInfo& info, std::string_view urn) { return info.convertUrnToUrl(urn); }),
            py::arg("urn"),
            "the URL of the path or potentiostat with this URN; empty when there is none")
        .def(
            "convert_url_to_urn",
            withDataText(
                +[](const HardwareInfo& info, std::string_view url) { return info.convertUrlToUrn(url); }),
            py::arg("url"),
            "the URN of the path or potentiostat with this URL; empty when there is none");
}

} // namespace

void init_hardware_info_wrap(py::module_& m)
{
    registerRanges(m);
    registerPathInfo(m);
    registerPotentiostatInfo(m);
    registerCardInfo(m);
    registerHardwareInfo(m);
}
