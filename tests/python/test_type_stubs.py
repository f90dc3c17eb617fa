"""The installed type stubs as a user's script meets them: mypy with its
defaults finds every module the package advertises, knows what the calls
return (no Any where the type is known) and reports the mistakes a script
can make with those results."""

import ast
import pathlib
import re
import subprocess
import sys
from importlib.metadata import distribution

import marlek_link as ml

# `reveal_type(...)  # reveals: T` expects exactly T (mypy versions differ
# in writing builtins. before builtin types, which is left out); `# error`
# expects mypy to report the line.
USER_SCRIPT = '''\
import datetime

import marlek_link as ml
import marlek_link.calibration
import marlek_link.meas.stop
from marlek_link import xml as mx
from marlek_link.control import GetHardwarePropertyJob
from marlek_link.meas import CvJob
from marlek_link.meas.stop import MaxLimitStopCondition

link = ml.MarlekLink("192.168.1.20", "1994")
link.set_request_timeout(5.0)
link.set_request_timeout(datetime.timedelta(milliseconds=2500))
link.set_request_timeout("5 s")  # error
link.id(timeout=2.0)
ml.AutoDiscovery(1.5)

condition = marlek_link.meas.stop.MaxLimitStopCondition("current", 1e-3)
job = CvJob(start_value=0.0, first_vertex=0.5, second_vertex=-0.5, end_value=0.0, scan_rate=0.1,
            output_data_rate=2.0, num_cycles=1.0, autorange=False, current_range=1e-3,
            turn_limit_check=False, upper_turn_boundary=0.0, lower_turn_boundary=0.0, step_height=0.0,
            ir_drop=0.0, meta_data={"sample": "A1"}, stop_conditions=[condition, MaxLimitStopCondition("x", 1.0)])

result = link.get_job_result_data(job)
reveal_type(result)  # reveals: _marlek_link.DataSet | _marlek_link.ErrorObject
result.get_dc_track(ml.TrackNames.CURRENT)  # error
if isinstance(result, ml.DcDataset):
    reveal_type(result.get_dc_track(ml.TrackNames.CURRENT))  # reveals: list[float]
    reveal_type(result.recreate_original_job())  # reveals: {dc_jobs} | None

imported = mx.MXmlImporter().import_from_file_as_measurement("runs/cv.xml")
reveal_type(imported)  # reveals: _marlek_link.xml.ImportedFile | _marlek_link.ErrorObject
if isinstance(imported, ml.ErrorObject):
    raise SystemExit(str(imported))
reveal_type(imported.file_info)  # reveals: _marlek_link.xml.MarlekFileInfo
reveal_type(imported.object)  # reveals: _marlek_link.xml.Measurement | _marlek_link.DcDataset | _marlek_link.EisDataset
imported.object.get_datasets()  # error
if isinstance(imported.object, mx.Measurement):
    reveal_type(imported.object.get_datasets())  # reveals: list[_marlek_link.DcDataset | _marlek_link.EisDataset]

importer = mx.MXmlImporter()
reveal_type(importer.read_file_info("runs/cv.xml"))  # reveals: _marlek_link.xml.MarlekFileInfo | _marlek_link.ErrorObject
reveal_type(importer.deserialize(b"<dataset/>"))  # reveals: _marlek_link.xml.Measurement | _marlek_link.DcDataset | _marlek_link.EisDataset | _marlek_link.ErrorObject
reveal_type(mx.MXmlExporter().serialize(mx.Measurement()))  # reveals: str | _marlek_link.ErrorObject
reveal_type(ml.MrbImporter().import_from_file("run.mrb"))  # reveals: _marlek_link.DcDataset | _marlek_link.EisDataset | _marlek_link.ErrorObject
reveal_type(ml.MrbImporter().import_from_memory_as_eis_dataset(b""))  # reveals: _marlek_link.EisDataset | _marlek_link.ErrorObject

reveal_type(marlek_link.calibration.GetCalibrationDataJob.get_data)  # reveals: def (self: _marlek_link.calibration.GetCalibrationDataJob) -> float | list[float] | dict[float, complex] | str
reveal_type(GetHardwarePropertyJob.get_job_result)  # reveals: def (self: _marlek_link.control.GetHardwarePropertyJob) -> bool | int | float | str
reveal_type(ml.SettingsSet().keys())  # reveals: list[str]


try:
    ml.MarlekLinkExc("192.168.1.20").connect()
except ml.MarlekLinkException as failure:
    reveal_type(failure.error)  # reveals: _marlek_link.ErrorObject


def print_cards(info: ml.HardwareInfo) -> None:
    reveal_type(info.cards)  # reveals: list[_marlek_link.CardInfo]


def print_rows(rows: list[list[float]]) -> None:
    print(rows)


link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_rows_event_handler(print_rows))
reveal_type(ml.__version__)  # reveals: str
'''

DC_JOBS = " | ".join(
    f"_marlek_link.meas.{name}"
    for name in ("CvJob", "OcvJob", "DpvJob", "NpvJob", "SwvJob", "PogaJob", "RampJob", "WaveJob", "WaveFileJob",
                 "FastCyclingJob", "SteadyStairsJob")
)


def run_mypy(tmp_path, script):
    (tmp_path / "user_script.py").write_text(script)
    # From a folder of its own, so that only the installed package is seen.
    return subprocess.run(
        [sys.executable, "-m", "mypy", "--cache-dir", str(tmp_path / "cache"), "--no-error-summary",
         "user_script.py"],
        cwd=tmp_path, capture_output=True, text=True, timeout=600,
    )


def test_user_script_gets_the_real_types_and_its_mistakes_reported(tmp_path):
    script = USER_SCRIPT.replace("{dc_jobs}", DC_JOBS)
    lines = script.splitlines()
    checked = run_mypy(tmp_path, script)
    assert checked.stderr == ""
    revealed, errors = {}, set()
    for line in checked.stdout.splitlines():
        found = re.match(r"user_script\.py:(\d+): (note|error): (.*)", line)
        assert found, line
        number, kind, text = int(found[1]), found[2], found[3]
        if kind == "note" and text.startswith("Revealed type is"):
            revealed[number] = text.removeprefix("Revealed type is ").strip('"').replace("builtins.", "")
        elif kind == "error":
            errors.add(number)
    expected_reveals = {
        number: line.split("# reveals: ")[1] for number, line in enumerate(lines, 1) if "# reveals: " in line
    }
    expected_errors = {number for number, line in enumerate(lines, 1) if line.endswith("# error")}
    assert revealed == expected_reveals
    assert errors == expected_errors, checked.stdout


def stub_files():
    package = distribution("marlek_link")
    files = [pathlib.Path(package.locate_file(file)) for file in package.files if str(file).endswith(".pyi")]
    assert any(file.parent.name == "_marlek_link-stubs" for file in files)
    assert any(file.parent.name == "marlek_link" for file in files)
    return files


def loose_annotations(annotation):
    """Any, bare list and bare dict within an annotation."""
    subscripted = {id(node.value) for node in ast.walk(annotation) if isinstance(node, ast.Subscript)}
    for node in ast.walk(annotation):
        if isinstance(node, ast.Name) and node.id in ("list", "dict") and id(node) not in subscripted:
            yield f"bare {node.id}"
        if isinstance(node, ast.Constant) and node.value is Ellipsis:
            yield "an unknown type"


def test_stub_signatures_give_element_types_and_no_any_results():
    faults = []
    for file in stub_files():
        for node in ast.walk(ast.parse(file.read_text())):
            if isinstance(node, ast.FunctionDef):
                arguments = node.args.posonlyargs + node.args.args + node.args.kwonlyargs
                annotations = [a.annotation for a in arguments if a.annotation is not None]
                if node.returns is not None:
                    annotations.append(node.returns)
                    if ast.unparse(node.returns) in ("typing.Any", "Any", "object"):
                        faults.append(f"{file.name}: {node.name} returns {ast.unparse(node.returns)}")
            elif isinstance(node, ast.AnnAssign):
                annotations = [node.annotation]
                if ast.unparse(node.annotation) in ("typing.Any", "Any", "object"):
                    faults.append(f"{file.name}: {ast.unparse(node.target)} is {ast.unparse(node.annotation)}")
            else:
                continue
            for annotation in annotations:
                faults += [f"{file.name}: {getattr(node, 'name', ast.unparse(node))}: {fault}"
                           for fault in loose_annotations(annotation)]
    assert faults == []


def test_help_keeps_the_duration_signature_that_the_stubs_widen():
    assert ml.MarlekLink.set_request_timeout.__doc__.splitlines()[0] == (
        "set_request_timeout(self: _marlek_link.MarlekLink, arg0: datetime.timedelta) -> None"
    )
    stub = pathlib.Path(distribution("marlek_link").locate_file("_marlek_link-stubs/__init__.pyi")).read_text()
    assert "def set_request_timeout(self, arg0: datetime.timedelta | float) -> None:" in stub


def test_readme_python_type_checks_as_one_script(tmp_path):
    readme = (pathlib.Path(__file__).resolve().parents[2] / "README.md").read_text()
    blocks = re.findall(r"```python\n(.*?)```", readme, flags=re.DOTALL)
    assert len(blocks) >= 4
    checked = run_mypy(tmp_path, "\n".join(blocks))
    assert (checked.stdout, checked.stderr) == ("", "")
