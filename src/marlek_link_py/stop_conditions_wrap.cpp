// The stop conditions of meas.stop: shared with every job they are given
// to, constructible only, and never read back.

#include "marlek_link_py/init_wrap.hpp"

#include "marlek_link_json/jobs/common/stopconditions.hpp"

#include <pybind11/pybind11.h>

#include <memory>
#include <string>

namespace py = pybind11;

namespace {

template <typename Condition>
using ConditionClass = py::class_<Condition, AbstractStopCondition, std::shared_ptr<Condition>>;

template <typename Condition, typename... Values>
std::shared_ptr<Condition> makeCondition(Values... values)
{
    return std::make_shared<Condition>(typename Condition::Parameters{std::move(values)...});
}

} // namespace

void init_stop_conditions_wrap(py::module_& stop)
{
    py::class_<AbstractStopCondition, std::shared_ptr<AbstractStopCondition>> base(stop, "AbstractStopCondition");
    base.doc() = "\n        Abstract base class for stop conditions.\n";

    ConditionClass<MinLimitStopCondition>(stop, "MinLimitStopCondition")
        .def(py::init(&makeCondition<MinLimitStopCondition, std::string, double>), py::arg("for_dimension"),
             py::arg("minimum"),
             "\n    Minimum limit stop condition\n\n"
             "    :param for_dimension: dimension to which the limit applies, e.g. \"time\", \"voltage\", \"current\"\n"
             "    :param minimum: minimum value of the dimension\n\n"
             "    .. collapse:: WebSocket JSON Example\n\n"
             "        .. code-block:: json\n\n"
             "            {\"type\": \"min\", \"parameters\": {\"for_dimension\": \"voltage\", \"minimum\": -1.0}}\n");

    ConditionClass<MaxLimitStopCondition>(stop, "MaxLimitStopCondition")
        .def(py::init(&makeCondition<MaxLimitStopCondition, std::string, double>), py::arg("for_dimension"),
             py::arg("maximum"),
             "\n    Maximum limit stop condition\n\n"
             "    :param for_dimension: dimension to which the limit applies, e.g. \"time\", \"voltage\", \"current\"\n"
             "    :param maximum: maximum value of the dimension\n\n"
             "    .. collapse:: WebSocket JSON Example\n\n"
             "        .. code-block:: json\n\n"
             "            {\"type\": \"max\", \"parameters\": {\"for_dimension\": \"current\", \"maximum\": 0.2}}\n");

    ConditionClass<MinMaxLimitStopCondition>(stop, "MinMaxLimitStopCondition")
        .def(py::init(&makeCondition<MinMaxLimitStopCondition, std::string, double, double>),
             py::arg("for_dimension"), py::arg("minimum"), py::arg("maximum"),
             "\n    Minimum and maximum limit stop condition\n\n"
             "    :param for_dimension: dimension to which both limits apply, e.g. \"voltage\", \"current\"\n"
             "    :param minimum: lower limit of the dimension\n"
             "    :param maximum: upper limit of the dimension\n\n"
             "    .. collapse:: WebSocket JSON Example\n\n"
             "        .. code-block:: json\n\n"
             "            {\"type\": \"min_max\",\n"
             "             \"parameters\": {\"for_dimension\": \"voltage\", \"minimum\": -1.0, \"maximum\": 1.0}}\n");

    ConditionClass<IntegratingLimitStopCondition>(stop, "IntegratingLimitStopCondition")
        .def(py::init(&makeCondition<IntegratingLimitStopCondition, std::string, std::string, double>),
             py::arg("for_dimension"), py::arg("over_dimension"), py::arg("maximum"),
             "\n    Integrating limit stop condition\n\n"
             "    The job is cancelled when the integral of the absolute value of for_dimension over\n"
             "    over_dimension exceeds maximum.\n\n"
             "    :param for_dimension: integrated dimension, e.g. \"current\", \"voltage\"\n"
             "    :param over_dimension: dimension integrated over, e.g. \"time\"\n"
             "    :param maximum: largest allowed integral\n\n"
             "    .. collapse:: WebSocket JSON Example\n\n"
             "        .. code-block:: json\n\n"
             "            {\"type\": \"integrating\",\n"
             "             \"parameters\": {\"for_dimension\": \"current\", \"over_dimension\": \"time\", "
             "\"maximum\": 0.5}}\n");

    ConditionClass<StabilityToleranceLimitStopCondition>(stop, "StabilityToleranceLimitStopCondition")
        .def(py::init(&makeCondition<StabilityToleranceLimitStopCondition, std::string, double, double>),
             py::arg("for_dimension"), py::arg("stability_tolerance"), py::arg("minimum_duration"),
             "\n    Stability tolerance limit stop condition\n\n"
             "    Stops the job when the dimension has settled.\n\n"
             "    :param for_dimension: watched dimension, e.g. \"current\", \"voltage\"\n"
             "    :param stability_tolerance: absolute tolerance for the change of the dimension per second,\n"
             "        below which the job stops\n"
             "    :param minimum_duration: time after which the tolerance is first evaluated\n\n"
             "    .. collapse:: WebSocket JSON Example\n\n"
             "        .. code-block:: json\n\n"
             "            {\"type\": \"stability_tolerance\",\n"
             "             \"parameters\": {\"for_dimension\": \"current\", \"stability_tolerance\": 1e-06, "
             "\"minimum_duration\": 10.0}}\n");

    ConditionClass<InRangeStopCondition>(stop, "InRangeStopCondition")
        .def(py::init(&makeCondition<InRangeStopCondition, std::string, double, double>), py::arg("for_dimension"),
             py::arg("minimum"), py::arg("maximum"),
             "\n    In range stop condition\n\n"
             "    The job is cancelled when the value of for_dimension lies in the closed range\n"
             "    minimum <= value <= maximum.\n\n"
             "    :param for_dimension: dimension that is watched, e.g. \"voltage\"\n"
             "    :param minimum: lower bound of the range\n"
             "    :param maximum: upper bound of the range\n\n"
             "    .. collapse:: WebSocket JSON Example\n\n"
             "        .. code-block:: json\n\n"
             "            {\"type\": \"in_range\",\n"
             "             \"parameters\": {\"for_dimension\": \"voltage\", \"minimum\": 0.1, \"maximum\": 0.5}}\n");
}
