"""Stop conditions of meas.stop: construction, what they refuse, and how jobs
take and send them."""

import pickle

import pytest

import marlek_link as ml
from marlek_link.meas import stop
from meas_support import started_requests

CONDITIONS = [
    (stop.MinLimitStopCondition, ("voltage", 1), "min", {"for_dimension": "voltage", "minimum": 1.0}),
    (stop.MaxLimitStopCondition, ("current", 0.2), "max", {"for_dimension": "current", "maximum": 0.2}),
    (stop.MinMaxLimitStopCondition, ("voltage", -1, 1.5), "min_max",
     {"for_dimension": "voltage", "minimum": -1.0, "maximum": 1.5}),
    (stop.IntegratingLimitStopCondition, ("current", "time", 0.5), "integrating",
     {"for_dimension": "current", "over_dimension": "time", "maximum": 0.5}),
    (stop.StabilityToleranceLimitStopCondition, ("current", 1e-6, 10), "stability_tolerance",
     {"for_dimension": "current", "stability_tolerance": 1e-6, "minimum_duration": 10.0}),
    # A minimum above the maximum is the workstation's business.
    (stop.InRangeStopCondition, ("voltage", 0.5, 0.1), "in_range",
     {"for_dimension": "voltage", "minimum": 0.5, "maximum": 0.1}),
]


def ocv(stop_conditions=()):
    return ml.meas.OcvJob(1.0, 10.0, stop_conditions=list(stop_conditions))


def test_conditions_are_sent_as_built_in_list_order_with_repeats(fake_workstation):
    built = [cls(*args) for cls, args, _, _ in CONDITIONS]
    shared = built[1]
    first, second = ocv(built + [shared]), ocv([shared])
    sent = started_requests(fake_workstation, first, second)
    expected = [{"type": name, "parameters": parameters} for _, _, name, parameters in CONDITIONS]
    assert sent[0]["stop_conditions"] == expected + [expected[1]]
    # Key order and number kinds as the record declares them.
    for condition, (_, _, name, parameters) in zip(sent[0]["stop_conditions"], CONDITIONS):
        assert list(condition) == ["type", "parameters"]
        assert list(condition["parameters"].items()) == list(parameters.items())
        assert all(type(value) is type(parameters[key]) for key, value in condition["parameters"].items())
    assert sent[1]["stop_conditions"] == [expected[1]]


@pytest.mark.parametrize("cls, args, _name, parameters", CONDITIONS)
def test_keywords_and_refused_arguments(cls, args, _name, parameters):
    assert isinstance(cls(**dict(zip(parameters, args))), stop.AbstractStopCondition)
    with pytest.raises(TypeError):
        cls(*args[:-1])
    with pytest.raises(TypeError):
        cls(*args[:-1], "1.0")
    with pytest.raises(TypeError):
        cls(None, *args[1:])
    condition = cls(*args)
    with pytest.raises(AttributeError):
        condition.for_dimension
    with pytest.raises(TypeError):
        pickle.dumps(condition)


def test_the_base_has_no_constructor():
    with pytest.raises(TypeError, match=": No constructor defined!$"):
        stop.AbstractStopCondition()
    assert stop.AbstractStopCondition.__doc__ == "\n        Abstract base class for stop conditions.\n"
    assert stop.__name__ == "_marlek_link.meas.stop" and ml.meas.stop is stop


def test_sequences_of_conditions(fake_workstation):
    low, high = stop.MinLimitStopCondition("voltage", -1.0), stop.MaxLimitStopCondition("voltage", 1.0)
    jobs = [
        ml.meas.OcvJob(1.0, 10.0, {}, (low, high)),
        ml.meas.OcvJob(1.0, 10.0, stop_conditions=(c for c in (low, high))),
        ml.meas.OcvJob(1.0, 10.0),
    ]
    sent = started_requests(fake_workstation, *jobs)
    assert [[c["type"] for c in job["stop_conditions"]] for job in sent] == [["min", "max"], ["min", "max"], []]


@pytest.mark.parametrize("stop_conditions", [
    [None],
    [stop.MinLimitStopCondition("voltage", 0.0), None],
    [1.5],
    "min",
    stop.MinLimitStopCondition("voltage", 0.0),
    None,
])
def test_refused_stop_conditions(stop_conditions):
    with pytest.raises(TypeError):
        ml.meas.OcvJob(1.0, 10.0, {}, stop_conditions)
    with pytest.raises(TypeError):
        ml.meas.WaveJob(1.0, 1.0, 1, 0.1, [0.0], stop_conditions=stop_conditions)


def test_a_condition_lives_as_long_as_a_job_holds_it(fake_workstation):
    job = ocv([stop.MaxLimitStopCondition("time", 3.0)])
    sent = started_requests(fake_workstation, job)
    assert sent[0]["stop_conditions"] == [{"type": "max", "parameters": {"for_dimension": "time", "maximum": 3.0}}]
