"""EisDataset and its views on datasets read from binary tables: lookups,
equality, appending with views kept across it, copies, wave ids."""

import copy
import gc
import math

import pytest

import marlek_link as ml

from dataset_helpers import eis_header, eis_table

NAN = float("nan")


def two_rows(testing, magnitudes=(2.0, 3.0), times=(0.0, 1.0), header=None):
    meta = ([1000.0, 100.0], [1.0, 1.0], list(times), [0.0, 1.0], [2.0, 1.0])
    impedance = (list(magnitudes), [0.0, 0.0])
    paths = ([0.5, 0.6],), ([1e-3, 2e-3],)
    waves = ([[1.0, 2.0], [3.0]], [[0.1, 0.2], [0.3]])
    return testing.eis_dataset_from_binary(eis_table(meta, [impedance], paths, waves), header or eis_header(), 2, "")


def test_empty_dataset_and_constants():
    ds = ml.EisDataset()
    assert ds.get_row_count() == 0 and ds.get_frequencies() == [] and ds.get_meta_data_header() == []
    assert ds.get_impedances_data() == {} and ds.get_paths_data() == {} and ds.get_potentiostats_data() == {}
    assert ds.get_impedance_data() == ml.EisDataset.INVALID_IMPEDANCE_DATA
    assert ds.get_path_data("voltage") == ml.EisDataset.INVALID_PATH
    assert ds.get_potentiostat_data() == ml.EisDataset.INVALID_POTENTIOSTAT
    assert ds.get_wave_id_for_row(7) == 7 and ds.get_wave_for_row(0, 0) == []
    assert ds.recreate_original_job() is None
    assert ml.EisDataset.EMPTY_SPECTRA == {} and ml.EisDataset.EMPTY_TRACK == []
    assert ml.EisDataset.EMPTY_COMPLEX_TRACK == [] and ml.EisDataset.EMPTY_TRACKWAVE == []
    assert ml.EisDataset.EMPTY_TRACK is not ml.EisDataset.EMPTY_TRACK
    invalid = ml.EisDataset.INVALID_IMPEDANCE_DATA
    assert invalid.get_tracks() == {} and invalid.get_calculated_spectra() == {}
    assert invalid.get_numerator_dimension() == "" and invalid.get_impedance_name() == ""
    for name in ("EMPTY_TRACK", "INVALID_PATH"):
        with pytest.raises(AttributeError):
            setattr(ml.EisDataset, name, None)
    for bad in (-1, 1.0, "0"):
        with pytest.raises(TypeError):
            ds.get_meta_column(bad)


def test_view_equality_is_a_method(testing):
    ds = two_rows(testing)
    z = ds.get_impedance_data()
    same_tracks_other_name = two_rows(testing, header=eis_header().replace("voltage/current", "Z2"))
    assert z == same_tracks_other_name.get_impedance_data()
    assert not z == two_rows(testing, magnitudes=(2.0, 4.0)).get_impedance_data()
    assert ds.get_path_data("voltage") == two_rows(testing).get_path_data("voltage")
    for view in (z, ds.get_path_data("voltage"), ml.EisDataset.INVALID_POTENTIOSTAT):
        for other in (None, 1, "z"):
            with pytest.raises(TypeError):
                view == other  # noqa: B015
        with pytest.raises(TypeError):
            hash(view)
        with pytest.raises(TypeError):
            view[0]


def test_header_equality_rules(eis_header_objects):
    path, same_path, impedance = eis_header_objects
    assert path == same_path
    for other in (None, "x"):
        with pytest.raises(TypeError):
            path == other  # noqa: B015
        with pytest.raises(TypeError):
            impedance == other  # noqa: B015


@pytest.fixture
def eis_header_objects(fake_workstation_with, testing):
    from dataset_helpers import Recorder, connected_link, run_and_fetch

    link = connected_link(fake_workstation_with("--demo", "eis"))
    headers = Recorder()
    link.set_event_handler(ml.MarlekLinkEventHandler.make_live_data_header_eis_event_handler(
        lambda h, info: headers.add(h)))
    run_and_fetch(link, testing.eis_job())
    first = headers.wait_for(1)[0]
    link.disconnect()
    assert first == first and (first == None) is False and (first == 3) is False  # noqa: E711
    with pytest.raises(TypeError):
        hash(first)
    paths = first.get_paths_data_headers()
    return paths[0], first.get_paths_data_headers()[0], first.get_impedances_headers()[0]


def test_views_kept_across_append_raise_instead_of_reading_freed_memory(testing):
    ds = two_rows(testing)
    z = ds.get_impedance_data()
    path = ds.get_path_data("voltage")
    nested = path.get_impedance_data()
    pots = ds.get_potentiostats_data()
    paths = ds.get_paths_data()
    columns = ds.get_meta_data_header()
    invalid = ds.get_path_data("pressure")
    assert ds.append(two_rows(testing), 1.0)
    gc.collect()
    for stale in (z, path, nested, paths["current"]):
        with pytest.raises(RuntimeError):
            stale.get_track_names()
    with pytest.raises(RuntimeError):
        path.get_waves()
    assert pots == {}
    # Copies and sentinels stay usable; views fetched again see the new rows.
    assert columns[0].get_dimension() == "frequency" and invalid.get_track_names() == []
    assert ds.get_impedance_data()["|impedance|"] == [2.0, 3.0, 2.0, 3.0]
    assert ds.get_times() == [0.0, 1.0, 2.0, 3.0]
    assert ds.get_path_data("voltage").get_waves() == [[1.0, 2.0], [3.0], [1.0, 2.0], [3.0]]


def test_a_failed_append_also_ends_the_views(testing):
    ds = two_rows(testing)
    z = ds.get_impedance_data()
    assert ds.append(ml.EisDataset()) is False
    assert ds.get_row_count() == 2
    with pytest.raises(RuntimeError):
        z.get_tracks()
    other_header = eis_header(paths=("voltage", "current", "temperature"))
    assert ds.append(two_rows(testing, header=other_header)) is False
    assert ds.get_row_count() == 2


def test_append_to_itself_reads_from_a_copy(testing):
    ds = two_rows(testing)
    assert ds.append(to_append=ds, time_offset=1)
    assert ds.get_row_count() == 4 and ds.get_times() == [0.0, 1.0, 2.0, 3.0]
    assert ds.get_impedance_data()["|impedance|"] == [2.0, 3.0, 2.0, 3.0]
    assert ds.get_wave_for_row("voltage", 3) == [3.0]
    with pytest.raises(TypeError):
        ds.append(None)


@pytest.mark.parametrize("make_copy", [copy.copy, copy.deepcopy])
def test_copies_are_independent(testing, make_copy):
    ds = two_rows(testing)
    duplicate = make_copy(ds)
    assert type(duplicate) is ml.EisDataset and duplicate.get_frequencies() == ds.get_frequencies()
    path = duplicate.get_path_data("voltage")
    duplicate_z = duplicate.get_impedance_data()
    assert duplicate.append(ds)
    assert ds.get_row_count() == 2 and duplicate.get_row_count() == 4
    view = ds.get_path_data("current")
    del ds
    gc.collect()
    assert view.get_dc_track() == [1e-3, 2e-3]
    with pytest.raises(RuntimeError):
        path.get_tracks()
    with pytest.raises(RuntimeError):
        duplicate_z.get_tracks()


def test_views_keep_their_dataset_alive(testing):
    nested = two_rows(testing).get_path_data("voltage").get_impedances_data()[("voltage", "current")]
    gc.collect()
    assert nested["|impedance|"] == [2.0, 3.0] and nested.get_denominator_dimension() == "current"


@pytest.mark.parametrize("stored, expected", [
    (0.0, 0), (NAN, -1), (-1.0, -1), (-0.5, -1), (1e300, -1), (float("inf"), -1), (5.0, 5),
])
def test_wave_ids_that_name_no_wave(testing, stored, expected):
    meta = ([10.0, 20.0], [1.0, 1.0], [0.0, 1.0], [0.0, stored], [2.0, 2.0])
    table = eis_table(meta, [([1.0, 1.0], [0.0, 0.0])], [([0.5, 0.6],)], ([[1.0, 2.0]],))
    ds = testing.eis_dataset_from_binary(table, eis_header(paths=("voltage",)), 2, "")
    assert ds.get_wave_id_for_row(1) == expected
    # Only wave 0 exists: whatever the stored id, row 1 never reads it unless it names it.
    assert ds.get_wave_for_row(0, 1) == ([1.0, 2.0] if expected == 0 else [])
    assert ds.get_wave_for_row("voltage", 0) == [1.0, 2.0]
    assert not math.isnan(ds.get_wave_id_for_row(0))
