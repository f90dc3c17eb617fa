"""The classes of marlek_link.calibration: constructors, parameter views,
results before and after a run against the fake workstation, and a mesh file
that does not decode."""

import math

import pytest

import marlek_link as ml
from marlek_link import calibration as cal
from job_runs import SERVICE, run_jobs

CALIBRATION_CLASSES = [
    "CalibrateParametersStringPy", "CalibrateParametersPy", "CalibrateJob",
    "SetCalibrationDataParametersPy", "SetCalibrationDataJob", "GetCalibrationDataParametersPy",
    "GetCalibrationDataJob", "GetMeshJsonFileJob", "SetMeshJsonFileParametersPy", "SetMeshJsonFileJob",
    "FilterUsageMatrix", "GetFilterUsageMatrixParametersPy", "GetFilterUsageMatrixJob",
]

TYPES = ml.CalibrationTypesEnum


def test_classes_in_registration_order():
    assert [name for name, value in vars(cal).items() if isinstance(value, type)] == CALIBRATION_CLASSES


@pytest.mark.parametrize("name", [n for n in CALIBRATION_CLASSES if n.endswith("ParametersPy")
                                  or n.endswith("StringPy")])
def test_parameter_classes_cannot_be_made(name):
    with pytest.raises(TypeError):
        getattr(cal, name)()


# arguments, expected calibration_type, calibration_path, indexes
CALIBRATE = [
    ((), {}, ("dc", "", [])),
    ((TYPES.DUMP,), {}, ("dump", "", [])),
    ((TYPES.MAIN_SHUNTS_DC, "p", [1, 2]), {}, ("main_shunts_dc", "p", [1, 2])),
    (("no_such_type",), {}, ("no_such_type", "", [])),
    ((), {"calibration_path": "x"}, ("dc", "x", [])),
]


@pytest.mark.parametrize("args, kwargs, expected", CALIBRATE)
def test_calibrate_constructors(args, kwargs, expected):
    parameters = cal.CalibrateJob(*args, **kwargs).parameters
    assert type(parameters) is cal.CalibrateParametersStringPy
    assert (parameters.calibration_type, parameters.calibration_path, parameters.indexes) == expected
    assert not hasattr(parameters, "paths")


@pytest.mark.parametrize("args", [(None,), (1,), ("dc", "", [-1]), ("dc", "", [0.5]), ("dc", "", [], "path")])
def test_calibrate_refuses(args):
    with pytest.raises(TypeError):
        cal.CalibrateJob(*args)


def test_set_calibration_data_defaults_and_refusals():
    parameters = cal.SetCalibrationDataJob("dc").parameters
    assert (parameters.calibration_type, parameters.data_type, parameters.float_data, parameters.float_vector_data,
            parameters.spectra_data, parameters.string_data) == ("dc", "", 0.0, [], {}, "")
    typed = cal.SetCalibrationDataJob(TYPES.ZMU4_GAIN, spectra_data={2.0: 1 + 2j, 1.0: 3j}).parameters
    assert typed.calibration_type == "zmu4_gain"
    assert list(typed.spectra_data.items()) == [(1.0, 3j), (2.0, 1 + 2j)]
    for args in [(), (None,), ("dc", "", [-1]), ("dc", "", [], "float", 0.0, "1.5")]:
        with pytest.raises(TypeError):
            cal.SetCalibrationDataJob(*args)


def test_get_calibration_data_before_any_run():
    job = cal.GetCalibrationDataJob("dc")
    assert job.get_calibration_data_type() is ml.CalibrationDataTypeEnum.UNDEFINED
    with pytest.raises(RuntimeError, match="Unknown calibration data type"):
        job.get_data()
    assert math.isnan(job.get_float_data())
    assert (job.get_float_vector_data(), job.get_spectra_data(), job.get_string_data()) == ([], {}, "")
    assert cal.GetCalibrationDataJob(TYPES.DC).parameters.calibration_type == "dc"
    with pytest.raises(TypeError):
        cal.GetCalibrationDataJob()


def test_service_jobs_before_any_run():
    assert cal.GetMeshJsonFileJob().get_job_result() == b""
    assert not hasattr(cal.GetMeshJsonFileJob(), "parameters")
    job = cal.GetFilterUsageMatrixJob(zmu4_path="ZMU4:1")
    assert job.parameters.zmu4_path == "ZMU4:1"
    assert job.get_job_result().matrix == []
    assert job.get_job_result() is not job.get_job_result()
    for make in [lambda: cal.GetMeshJsonFileJob(1), lambda: cal.SetMeshJsonFileJob(),
                 lambda: cal.SetMeshJsonFileJob(3), lambda: cal.FilterUsageMatrix([])]:
        with pytest.raises(TypeError):
            make()


def test_filter_usage_matrix_is_copied_both_ways():
    matrix = cal.FilterUsageMatrix()
    assert matrix.matrix == []
    matrix.matrix = [(0, 2), [1, 3]]
    assert matrix.matrix == [(0, 2), (1, 3)]
    matrix.matrix.append((5, 5))
    assert matrix.matrix == [(0, 2), (1, 3)]
    for bad in [[(-1, 0)], [(0.5, 1)], [(1, 2, 3)], "ab"]:
        with pytest.raises(TypeError):
            matrix.matrix = bad
        assert matrix.matrix == [(0, 2), (1, 3)]


def test_requests_and_results(fake_workstation):
    calibrate = cal.CalibrateJob(TYPES.DC, "MAIN", [1], ["a", "b"])
    copied = cal.CalibrateJob("dump")
    copied.parameters = calibrate.parameters
    set_float = cal.SetCalibrationDataJob("dc", "MAIN", [0], "float", 2)
    set_wrong_case = cal.SetCalibrationDataJob("dc", data_type="Float", float_data=1.0)
    set_spectra = cal.SetCalibrationDataJob("dc", data_type="spectra", float_data=9.0, spectra_data={10.0: 1 - 1j})
    get_data = cal.GetCalibrationDataJob(TYPES.LOAD, "p", [2])
    get_mesh = cal.GetMeshJsonFileJob()
    set_mesh = cal.SetMeshJsonFileJob("abc")
    set_mesh.parameters.resource_id = "res-7"
    filters = cal.GetFilterUsageMatrixJob("ZMU4:1")
    jobs = [calibrate, copied, set_float, set_wrong_case, set_spectra, get_data, get_mesh, set_mesh, filters]

    errors, requests = run_jobs(fake_workstation, *jobs)

    assert [str(error) for error in errors if error] == []
    sent = [(request["type"], request["parameters"]) for request in requests]
    # Only the spectrum is sent, in the wire form of the core's spectrum map.
    spectrum = requests[4]["parameters"]["data"]["value"]
    assert spectrum and "9.0" not in str(spectrum)
    calibrate_parameters = {"calibration_type": "dc", "calibration_path": "MAIN", "indexes": [1],
                            "paths": ["a", "b"]}
    assert sent == [
        ("calibrate", calibrate_parameters),
        ("calibrate", calibrate_parameters),
        (SERVICE + "set_calibration_data", {"calibration_type": "dc", "calibration_path": "MAIN", "indexes": [0],
                                            "data": {"type": "float", "value": 2.0}}),
        (SERVICE + "set_calibration_data", {"calibration_type": "dc", "calibration_path": "", "indexes": [],
                                            "data": {"type": "Float"}}),
        (SERVICE + "set_calibration_data", {"calibration_type": "dc", "calibration_path": "", "indexes": [],
                                            "data": {"type": "spectra", "value": spectrum}}),
        (SERVICE + "get_calibration_data", {"calibration_type": "load", "calibration_path": "p", "indexes": [2]}),
        (SERVICE + "get_mesh_json_file", {}),
        (SERVICE + "set_mesh_json_file", {"resource_id": "res-7"}),
        (SERVICE + "get_filter_usage_matrix", {"zmu4_path": "ZMU4:1"}),
    ]
    assert list(requests[0]["parameters"]) == ["calibration_type", "calibration_path", "indexes", "paths"]
    assert set_spectra.parameters.float_data == 9.0

    assert get_data.get_calibration_data_type() is ml.CalibrationDataTypeEnum.FLOAT_VECTOR
    assert get_data.get_data() == [0.5, 1.5]
    assert get_data.get_float_vector_data() == [0.5, 1.5]
    assert math.isnan(get_data.get_float_data())
    assert get_mesh.get_job_result() == b'{"mesh":[]}'
    assert filters.get_job_result().matrix == [(0, 1), (1, 0)]


def test_mesh_file_that_does_not_decode_fails_the_job(fake_workstation):
    job = cal.GetMeshJsonFileJob()
    (error,), _ = run_jobs(fake_workstation, job,
                           scripts=[{"do": "mesh_content", "content": "eyJtZXNoIjpb-MSwyXX0="}])
    assert error.get_error_code_enum() is ml.ErrorCodeEnum.RESOURCE_CONTENT_INVALID
    assert "resource content invalid: Failed to decode file content: " in error.get_message_formatted()
    assert job.get_last_job_status() is ml.JobStatusEnum.FAILED
    assert not job.was_successful()
    assert job.get_job_result() == b""
