"""DcDataset, DatasetInfo and the DC header classes: reading, appending,
copying and re-creating the job, on datasets built from the workstation's
binary tables."""

import copy
import math

import pytest

import marlek_link as ml

from dataset_helpers import dc_header, doubles


def table(*columns):
    return b"".join(doubles(c) for c in columns)


@pytest.fixture
def make_dc(testing):
    def make(columns, *dimensions, job_info="", **names):
        return testing.dc_dataset_from_binary(table(*columns), dc_header(*dimensions, **names), job_info)
    return make


def test_empty_dataset_and_summary_defaults():
    ds = ml.DcDataset()
    assert ds.get_row_count() == 0 and ds.get_tracks() == [] and ds.get_dc_tracks() == {}
    assert ds.get_header().get_number_of_columns() == 0 and ds.recreate_original_job() is None
    assert ds.get_dc_track("voltage") == [] == ml.DcDataset.EMPTY_TRACK
    ds.get_dc_track("voltage").append(1.0)
    assert ml.DcDataset.EMPTY_TRACK == []
    info = ml.DatasetInfo()
    assert (info.type, info.job_type, info.num_rows, info.first_time_value) == (ml.DatasetType.DC, "", 0, 0.0)
    assert not info.jobInfo.get_error()
    for bad in (1, True, None):
        with pytest.raises(TypeError):
            info.type = bad
    info.type = ml.DatasetType.AC
    assert info.type is ml.DatasetType.AC
    with pytest.raises(TypeError):
        info.num_rows = -1
    for cls in (ml.AbstractDataset, ml.DataSet, ml.LiveDataHeader, ml.ColumnHeader, ml.LiveDataHeaderEis,
                ml.PathDataHeader, ml.ImpedanceDataHeader, ml.PotentiostatDataHeader):
        with pytest.raises(TypeError):
            cls()


def test_summaries_are_independent(make_dc):
    ds = make_dc(([1.0, 2.0], [0.1, 0.2]), "time", "voltage")
    first, second = ds.get_info(), ds.get_info()
    first.num_rows = 99
    assert second.num_rows == 2 and ds.get_info().num_rows == 2


def test_header_equality_is_an_operator_on_columns(make_dc):
    a = make_dc(([1.0], [2.0]), "time", "voltage").get_header()
    b = make_dc(([1.0], [2.0]), "time", "voltage", measurement_type="Other", short_type="O").get_header()
    swapped = make_dc(([1.0], [2.0]), "voltage", "time").get_header()
    assert a == b and not a == swapped
    assert (a == "text") is False and (a.get_columns()[0] == None) is False  # noqa: E711
    for unhashable in (a, a.get_columns()[0]):
        with pytest.raises(TypeError):
            hash(unhashable)


def test_columns_keep_their_dataset_readable(make_dc):
    ds = make_dc(([1.0], [2.0]), "time", "voltage")
    column = ds.get_header().get_columns()[1]
    del ds
    assert column.get_dimension() == "voltage" and column.get_unit() == "u"


@pytest.mark.parametrize("offset", [1.0, 2])
def test_append_continues_the_time_axis(make_dc, offset):
    ds = make_dc(([0.0, 10.0], [0.1, 0.2]), "time", "voltage")
    other = make_dc(([0.0, 1.0], [0.3, 0.4]), "time", "voltage")
    assert ds.append(to_append=other, time_offset=offset) is True
    assert ds.get_dc_track("time") == [0.0, 10.0, 10.0 + offset, 11.0 + offset]
    assert ds.get_dc_track("voltage") == [0.1, 0.2, 0.3, 0.4]
    assert other.get_row_count() == 2


def test_append_to_an_empty_dataset_copies_and_ignores_the_offset(make_dc):
    ds = ml.DcDataset()
    other = make_dc(([5.0, 6.0],), "time")
    assert ds.append(other, 100.0)
    assert ds.get_tracks() == [[5.0, 6.0]] and ds.get_header() == other.get_header()


def test_append_adds_new_columns_padded_with_nan(make_dc):
    ds = make_dc(([0.0, 1.0],), "time")
    assert ds.append(make_dc(([0.0], [7.0]), "time", "current"))
    assert ds.get_dc_dimensions() == ["time", "current"]
    current = ds.get_dc_track("current")
    assert math.isnan(current[0]) and math.isnan(current[1]) and current[2] == 7.0


def test_append_to_itself_reads_from_a_copy(make_dc):
    ds = make_dc(([0.0, 1.0], [0.1, 0.2]), "time", "voltage")
    assert ds.append(ds, 1.0)
    assert ds.get_dc_track("time") == [0.0, 1.0, 2.0, 3.0]
    assert ds.get_dc_track("voltage") == [0.1, 0.2, 0.1, 0.2]
    assert len(ds.get_included_datasets()) == 2


@pytest.mark.parametrize("short_side", ["self", "other"])
def test_append_with_a_missing_track_raises_and_changes_nothing(testing, make_dc, short_side):
    short = testing.dc_dataset(dc_header("time", "voltage"), [[0.0, 1.0]], "")
    full = make_dc(([0.0, 1.0], [0.1, 0.2]), "time", "voltage")
    target, source = (short, full) if short_side == "self" else (full, short)
    before = (target.get_tracks(), target.get_header().get_number_of_columns(), len(target.get_included_datasets()))
    with pytest.raises(IndexError, match="^vector$"):
        target.append(source)
    assert (target.get_tracks(), target.get_header().get_number_of_columns(),
            len(target.get_included_datasets())) == before


def test_append_refuses_other_kinds(make_dc):
    ds = make_dc(([0.0],), "time")
    for bad in (None, ml.EisDataset(), [1.0]):
        with pytest.raises(TypeError):
            ds.append(bad)


def test_included_datasets_stay_readable_across_appends(make_dc):
    ds = make_dc(([0.0, 1.0],), "time")
    ds.append(make_dc(([0.0],), "time"))
    parts = ds.get_included_datasets()
    columns = ds.get_header().get_columns()
    for _ in range(20):
        ds.append(make_dc(([0.0],), "time"))
    assert [p.num_rows for p in parts] == [2, 1]
    assert columns[0].get_dimension() == "time"
    assert len(ds.get_included_datasets()) == 22


@pytest.mark.parametrize("make_copy", [copy.copy, copy.deepcopy])
def test_copies_are_independent(make_dc, make_copy):
    ds = make_dc(([0.0, 1.0], [0.1, 0.2]), "time", "voltage")
    duplicate = make_copy(ds)
    assert type(duplicate) is ml.DcDataset and duplicate.get_tracks() == ds.get_tracks()
    duplicate.append(ds)
    assert ds.get_row_count() == 2 and duplicate.get_row_count() == 4
    with pytest.raises(TypeError):
        ds.__deepcopy__([])

