"""The DC measurement jobs of meas: construction, their parameter views and
the requests they send."""

import collections
import gc
import pickle

import pytest

import marlek_link as ml
from marlek_link import meas
from meas_support import json_examples, kinds, started_requests

B = "bool"
# Job class, job name, fields in argument order (B marks a bool), and the
# order in which the request carries them.
TECHNIQUES = [
    (meas.CvJob, "cv",
     ["start_value", "first_vertex", "second_vertex", "end_value", "scan_rate", "output_data_rate", "num_cycles",
      ("autorange", B), "current_range", ("turn_limit_check", B), "upper_turn_boundary", "lower_turn_boundary",
      "step_height", "ir_drop"], None),
    (meas.FastCyclingJob, "fast_cycling",
     ["first_step", "second_step", "end_value", "step_time", "output_data_rate", "num_cycles", ("autorange", B),
      "current_range", ("turn_limit_check", B), "upper_turn_boundary", "lower_turn_boundary"], None),
    (meas.OcvJob, "ocv", ["duration", "output_data_rate"], None),
    (meas.PogaJob, "poga", ["bias", "duration", "output_data_rate", ("autorange", B), "current_range"], None),
    (meas.RampJob, "ramp",
     ["start_value", "end_value", "scan_rate", "step_height", "output_data_rate", ("autorange", B), "current_range"],
     ["output_data_rate", "current_range", "start_value", "end_value", "scan_rate", "step_height", "autorange"]),
    (meas.SteadyStairsJob, "steady_stairs",
     ["start_value", "end_value", "step_time", "step_height", "hold_time", "stability_tolerance", "output_data_rate",
      ("autorange", B), "current_range"], None),
    (meas.DpvJob, "dpv",
     ["start_value", "step_value", "pulse_value", "end_value", "step_time", "pulse_time", ("invert_pulse", B),
      "output_data_rate", "current_range"],
     ["output_data_rate", "current_range", "start_value", "step_value", "pulse_value", "invert_pulse", "end_value",
      "step_time", "pulse_time"]),
    (meas.NpvJob, "npv",
     ["base_value", "start_value", "step_value", "end_value", "step_time", "pulse_time", "output_data_rate",
      "current_range"],
     ["output_data_rate", "current_range", "base_value", "start_value", "step_value", "end_value", "step_time",
      "pulse_time"]),
    (meas.SwvJob, "swv",
     ["start_value", "step_value", "amplitude", "end_value", "period", "output_data_rate", "current_range"],
     ["output_data_rate", "current_range", "start_value", "step_value", "amplitude", "end_value", "period"]),
]
IDS = [name for _, name, _, _ in TECHNIQUES]


def names(fields):
    return [f[0] if isinstance(f, tuple) else f for f in fields]


def sample_values(fields):
    """Distinct values per field; ints where floats go, to show they convert."""
    return {name: (i % 2 == 0) if isinstance(f, tuple) else i + 1
            for i, (name, f) in enumerate(zip(names(fields), fields))}


def test_meas_registration_order():
    expected = [
        "EisParametersGeneratePy", "EisParametersFrequencyTablePy", "EisGenerateJob",
        "EisParametersFrequencyTableEntry", "EisParametersFrequencyTable", "EisFrequencyTableJob",
        "EisMultiSineTablePy", "EisMultisineParametersGeneratePy", "EisMultiSineTableEntry", "EisMultiSineTable",
        "EisMultisineTableJob", "EisMultisineGenerateJob",
        "GeisVaParametersGeneratePy", "GeisVaParametersFrequencyTablePy", "GeisVaGenerateJob",
        "GeisVaParametersFrequencyTable", "GeisVaFrequencyTableJob",
        "CvParametersPy", "CvJob", "FastCyclingParametersPy", "FastCyclingJob", "OcvParametersPy", "OcvJob",
        "PogaParametersPy", "PogaJob", "RampParametersPy", "RampJob", "SteadyStairsParametersPy", "SteadyStairsJob",
        "DpvParametersPy", "DpvJob", "NpvParametersPy", "NpvJob", "SwvParametersPy", "SwvJob",
        "WaveParametersPy", "WaveFileParametersPy", "WaveJob", "WaveFileJob",
    ]
    assert [name for name, value in vars(meas).items() if isinstance(value, type)] == expected
    assert list(vars(meas.stop))[-7:] == [
        "AbstractStopCondition", "MinLimitStopCondition", "MaxLimitStopCondition", "MinMaxLimitStopCondition",
        "IntegratingLimitStopCondition", "StabilityToleranceLimitStopCondition", "InRangeStopCondition"]


@pytest.mark.parametrize("cls, name, fields, wire_order", TECHNIQUES, ids=IDS)
def test_construction_reads_back_in_field_order(cls, name, fields, wire_order):
    values = sample_values(fields)
    by_position = cls(*values.values())
    by_keyword = cls(**dict(reversed(values.items())), meta_data={}, stop_conditions=[])
    for job in (by_position, by_keyword):
        assert isinstance(job, ml.AbstractMeasurementJob)
        view = job.parameters
        assert type(view).__name__ == cls.__name__.replace("Job", "ParametersPy")
        read = {field: getattr(view, field) for field in names(fields)}
        assert read == values
        assert all(type(read[field]) is (bool if isinstance(f, tuple) else float)
                   for field, f in zip(names(fields), fields))
    assert [p for p in vars(type(by_position.parameters)) if not p.startswith("_")] == names(fields)
    with pytest.raises(TypeError):
        cls(*list(values.values())[:-1])
    with pytest.raises(TypeError, match="No constructor defined"):
        type(by_position.parameters)()
    with pytest.raises(TypeError):
        pickle.dumps(by_position)


@pytest.mark.parametrize("cls, name, fields, wire_order", TECHNIQUES, ids=IDS)
def test_request_of_each_technique(fake_workstation, cls, name, fields, wire_order):
    values = sample_values(fields)
    job = cls(*values.values(), {"operator": "lab", "cell": "A1"})
    sent = started_requests(fake_workstation, job)[0]
    assert list(sent) == ["type", "parameters", "stop_conditions", "job_meta"]
    assert sent["type"] == name
    assert list(sent["parameters"]) == (wire_order or names(fields))
    assert sent["parameters"] == values
    assert kinds(sent["parameters"]) == {k: v if isinstance(v, bool) else float for k, v in values.items()}
    assert sent["stop_conditions"] == []
    assert list(sent["job_meta"].items()) == [("cell", "A1"), ("operator", "lab")]
    # The docstring's example shows the keys as they are sent.
    (example,) = json_examples(cls.__init__.__doc__)
    assert list(example["job"]["parameters"]) == list(sent["parameters"])


@pytest.mark.parametrize("args, kwargs", [
    ((0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, True, 0.01, False, 0.01, -0.01, 0.0, "0.0"), {}),
    ((0.0, 1.0, -1.0, 0.0, 0.1, 25.0, None, True, 0.01, False, 0.01, -0.01, 0.0, 0.0), {}),
    ((0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, "yes", 0.01, False, 0.01, -0.01, 0.0, 0.0), {}),
    ((0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, True, 0.01, False, 0.01, -0.01, 0.0), {}),
    ((0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, True, 0.01, False, 0.01, -0.01, 0.0, 0.0), {"meta_data": [("a", "b")]}),
    ((0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, True, 0.01, False, 0.01, -0.01, 0.0, 0.0), {"scan": 1.0}),
])
def test_arguments_that_fit_no_overload(args, kwargs):
    with pytest.raises(TypeError):
        meas.CvJob(*args, **kwargs)


@pytest.mark.parametrize("meta_data", [{"run": 1}, {1: "run"}, {"run": None}])
def test_meta_data_with_other_than_text(meta_data):
    with pytest.raises(RuntimeError, match="^Unable to cast Python instance of type "):
        meas.OcvJob(1.0, 10.0, meta_data)


def test_meta_data_may_be_a_dict_subclass(fake_workstation):
    job = meas.OcvJob(1.0, 10.0, collections.OrderedDict(z="1", a="2"))
    assert list(started_requests(fake_workstation, job)[0]["job_meta"].items()) == [("a", "2"), ("z", "1")]


def test_bool_arguments_take_truth_values():
    job = meas.PogaJob(1.0, 5.0, 25.0, 1, 0.1)
    assert job.parameters.autorange is True
    assert meas.PogaJob(1.0, 5.0, 25.0, None, 0.1).parameters.autorange is False
    assert meas.PogaJob(1.0, 5.0, 25.0, 0, 0.1).parameters.autorange is False


def test_view_writes_through_and_outlives_its_job(fake_workstation):
    job = meas.CvJob(0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2, True, 0.01, False, 0.01, -0.01, 0.0, 0.0)
    view = job.parameters
    view.scan_rate = 0.25
    assert job.parameters.scan_rate == 0.25
    assert job.parameters.num_cycles == 2.0
    with pytest.raises(TypeError):
        view.scan_rate = "fast"
    assert view.scan_rate == 0.25
    sent = started_requests(fake_workstation, job)[0]
    assert sent["parameters"]["scan_rate"] == 0.25

    del job
    gc.collect()
    # New jobs would take the memory of a freed one; the view keeps its job
    # alive, so it still reads its own values.
    others = [meas.CvJob(*[9.0] * 7, False, 9.0, False, *[9.0] * 4) for _ in range(50)]
    assert view.start_value == 0.0 and view.first_vertex == 1.0 and view.ir_drop == 0.0
    assert view.scan_rate == 0.25 and others[0].parameters.start_value == 9.0
    view.ir_drop = 5.0
    assert view.ir_drop == 5.0


def test_assigning_parameters_copies_from_the_same_class_only():
    first = meas.RampJob(0.0, 1.0, 0.1, 0.0, 10.0, True, 0.1)
    second = meas.RampJob(5.0, 6.0, 0.5, 0.01, 20.0, False, 0.2)
    second.parameters = first.parameters
    first.parameters.end_value = 9.0
    assert (second.parameters.start_value, second.parameters.end_value, second.parameters.autorange) == \
        (0.0, 1.0, True)

    cv = meas.CvJob(0.0, 1.0, -1.0, 0.0, 0.1, 25.0, 2.5, True, 0.01, False, 0.01, -0.01, 0.0, 0.0)
    for wrong in (cv.parameters, None, meas.DpvJob(0, 0, 0, 0, 0, 0, False, 0, 0).parameters):
        with pytest.raises(TypeError):
            second.parameters = wrong
    assert second.parameters.start_value == 0.0


def test_default_meta_data_is_not_shared(fake_workstation):
    first, second = meas.OcvJob(10.0, 10.0), meas.OcvJob(10, 10)
    sent = started_requests(fake_workstation, first, second)
    assert sent[0] == sent[1] == {"type": "ocv", "parameters": {"duration": 10.0, "output_data_rate": 10.0},
                                  "stop_conditions": [], "job_meta": {}}


def test_swv_positional_arguments_follow_the_field_order():
    params = meas.SwvJob(0.0, 0.01, 0.05, 1.5, 0.4, 200.0, 0.1).parameters
    assert (params.output_data_rate, params.current_range, params.period) == (200.0, 0.1, 0.4)


def test_docstrings_name_the_parameter_class():
    assert meas.CvJob.parameters.__doc__ == (
        "object with the parameters that were passed to the constructor of type "
        ":class:`marlek_link.meas.CvParametersPy`")
    assert "\n\n    Cyclic Voltammetry job\n" in meas.CvJob.__init__.__doc__
