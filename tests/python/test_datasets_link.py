"""Results and live data of the fake workstation's demo jobs, as Python
receives them through the link."""

import pytest

import marlek_link as ml

from dataset_helpers import Recorder, connected_link, run_and_fetch


@pytest.fixture
def eis_workstation(fake_workstation_with):
    return fake_workstation_with("--demo", "eis")


def test_dc_result_is_a_dc_dataset(fake_workstation, testing):
    link = connected_link(fake_workstation)
    ds = run_and_fetch(link, testing.cv_job())
    link.disconnect()

    assert type(ds) is ml.DcDataset
    assert isinstance(ds, ml.DataSet) and isinstance(ds, ml.AbstractDataset)
    assert ds.get_row_count() == 41
    assert ds.get_dc_dimensions() == ["time", "voltage", "current"]
    tracks = ds.get_dc_tracks()
    assert list(tracks) == ["current", "time", "voltage"]
    assert tracks["time"] == [0.5 * i for i in range(41)] == ds.get_dc_track("time")
    assert ds.get_tracks()[1] == tracks["voltage"]
    header = ds.get_header()
    assert header.get_type() == "Cyclic Voltammetry" and header.get_short_type() == "CV"
    assert [c.get_dimension() for c in header.get_columns()] == ["time", "voltage", "current"]
    assert ds.index_of_urn("MAIN:1:POT:I") == 2 and ds.index_of_dimension("charge") == -1
    assert ds.index_of(column_header=header.get_columns()[1]) == 1
    assert ds.get_job_info().get_job_id() == "job-0001"
    info = ds.get_info()
    assert info.type is ml.DatasetType.DC and info.num_rows == 41 and info.job_type == "Cyclic Voltammetry"


def test_eis_result_is_an_eis_dataset(eis_workstation, testing):
    link = connected_link(eis_workstation)
    ds = run_and_fetch(link, testing.eis_job())
    link.disconnect()

    assert type(ds) is ml.EisDataset and ds.get_row_count() == 3
    assert ds.get_frequencies() == [1000.0, 100.0, 100.0]
    assert ds.get_times() == [0.0, 1.0, 2.5] and ds.get_periods() == [1.0, 2.0, 2.0]
    assert [c.get_dimension() for c in ds.get_meta_data_header()] == [
        "frequency", "periods", "time", "wave_id", "wave_size"]
    assert ds.get_meta_column(4) == [4.0, 2.0, 2.0] and ds.get_meta_column(5) == []
    assert ds.get_impedances_dimensions() == [("voltage", "current")]
    assert ds.get_impedances_names() == ["Z"]
    assert ds.get_paths_dimensions() == ["current", "temperature", "voltage"]
    assert ds.get_potentiostats_identifiers() == ["MAIN:1:POT"]
    assert ds.get_info().type is ml.DatasetType.AC

    z = ds.get_impedance_data()
    assert z == ds.get_impedance_data("current") == ds.get_impedance_data("voltage", "current")
    assert z == ds.get_impedance_data_by_name("Z") == ds.get_impedances_data()[("voltage", "current")]
    assert z.get_track_names() == ["phase", "|impedance|"] and list(z.get_tracks()) == z.get_track_names()
    assert z["|impedance|"] == z.get_track("|impedance|") == [2.0, 3.0, 4.0]
    assert z["missing"] == [] and z.get_impedance_name() == "Z"
    track = z.get_calculated_complex_impedance_track()
    assert track[0] == complex(2.0, 0.0)
    assert abs(track[1].real) < 1e-12 and track[1].imag == pytest.approx(3.0)
    # The repeated frequency keeps the later row.
    assert z.get_calculated_spectra() == {100.0: complex(4.0, 0.0), 1000.0: complex(2.0, 0.0)}

    voltage = ds.get_path_data("voltage")
    assert voltage.get_dimension() == "voltage" and voltage.get_dc_track() == [0.5, 0.6, 0.7]
    assert voltage.get_waves() == [[1.0, 2.0, 3.0, 4.0], [5.0, 6.0]]
    assert list(voltage.get_impedances_data()) == [("voltage", "current")]
    assert voltage.get_impedance_data("current") == z
    assert ds.get_path_data("temperature").get_waves() == []
    assert ds.get_path_data("temperature").get_impedance_data() == ml.EisDataset.INVALID_IMPEDANCE_DATA
    assert ds.get_path_data("pressure") == ml.EisDataset.INVALID_PATH
    pot = ds.get_potentiostat_data()
    assert pot.get_identifier() == "MAIN:1:POT" and pot["bandwidth"] == [1e6, 1e6, 1e5]
    assert pot == ds.get_potentiostat_data("MAIN:1:POT") == ds.get_potentiostats_data()["MAIN:1:POT"]
    assert ds.get_potentiostat_data("other") == ml.EisDataset.INVALID_POTENTIOSTAT

    assert ds.get_wave_ids() == [0.0, 1.0, 1.0]
    assert [ds.get_wave_id_for_row(r) for r in range(4)] == [0, 1, 1, 3]
    assert ds.get_wave_for_row(0, 1) == ds.get_wave_for_row(0, 2) == [5.0, 6.0]
    assert ds.get_wave_for_row("current", 0) == [0.1, 0.2, 0.3, 0.4]
    assert ds.get_wave_for_row(2, 0) == [] and ds.get_wave_for_row("pressure", 0) == []


def test_eis_live_data_reaches_callbacks_as_owned_copies(eis_workstation, testing):
    link = connected_link(eis_workstation)
    headers, rows, waves = Recorder(), Recorder(), Recorder()
    for handler in (
        ml.MarlekLinkEventHandler.make_live_data_header_eis_event_handler(lambda h, info: headers.add((h, info))),
        ml.MarlekLinkEventHandler.make_live_data_row_eis_event_handler(rows.add),
        ml.MarlekLinkEventHandler.make_live_data_wave_event_handler(waves.add),
    ):
        link.set_event_handler(handler)
    run_and_fetch(link, testing.eis_job())
    header, info = headers.wait_for(1)[0]
    first, second = rows.wait_for(2)
    fragment = waves.wait_for(1)[0]
    link.disconnect()
    del link

    assert type(header) is ml.LiveDataHeaderEis and info.get_job_id() == "job-0001"
    assert header.get_short_type() == "EIS"
    assert len(header.get_meta_data_header()) == header.get_number_of_columns() == 5
    assert header.get_columns() == header.get_meta_data_header()
    paths = header.get_paths_data_headers()
    assert [p.get_name() for p in paths] == ["voltage", "current"]
    assert paths[0].get_uri() == "MAIN:1:POT:U" and paths[0].get_polynomial().coefficients == [0.0, 2.0]
    assert [c.get_dimension() for c in paths[0].get_columns()] == ["dc"]
    assert header.get_async_paths_data_headers()[0].get_name() == "temperature"
    impedance = header.get_impedances_headers()[0]
    assert (impedance.get_numerator_path(), impedance.get_denominator_path()) == ("MAIN:1:POT:U", "MAIN:1:POT:I")
    assert impedance.get_impedance_name() == "Z"
    pot = header.get_potentiostats_data_headers()[0]
    assert type(pot) is ml.PotentiostatDataHeader
    assert pot.get_uri() == "MAIN:1:POT" and pot.get_polynomial().coefficients == [1.0, 3.0]
    assert [c.get_dimension() for c in pot.get_columns()] == ["bandwidth"]
    assert pot == header.get_potentiostats_data_headers()[0]

    assert first.get_impedances() == [[2.0, 0.0]] and first.get_paths() == [[0.5], [1e-3]]
    assert first.get_paths_waves() == [[1.0, 2.0, 3.0, 4.0], [0.1, 0.2, 0.3, 0.4]]
    assert first.get_async_paths() == [[20.0]] and first.get_potentiostats() == [[1e6]]
    assert first.get_meta() == [1000.0, 1.0, 0.0, 0.0, 4.0]
    # The wave went with the first row: one empty list per path.
    assert second.get_paths_waves() == [[], []] and second.get_meta()[0] == 100.0
    meta = second.get_meta()
    meta.append(1.0)
    assert len(second.get_meta()) == 5
    assert fragment.get_waves() == [[1.0, 2.0], [0.1, 0.2]]
    assert fragment.get_offset() == 0 and fragment.get_full_wave_size() == 0


def test_dc_header_callback_receives_an_owned_header(fake_workstation, testing):
    link = connected_link(fake_workstation)
    headers = Recorder()
    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_header_event_handler(
        lambda h, info: headers.add(h)))
    ds = run_and_fetch(link, testing.cv_job())
    header = headers.wait_for(1)[0]
    link.disconnect()
    assert type(header) is ml.LiveDataHeader
    assert header == ds.get_header() and header is not ds.get_header()
    del ds
    assert header.get_columns()[2].get_urn() == "MAIN:1:POT:I"
