# Every field the package gives, compared with what cvdr dumps for the same
# record through the same plug-in; records cvdr cannot load must raise the
# same text.
import datetime
import gc
import json
import os
import subprocess

import numpy
import pytest

import dr_mvq4
from conftest import CVDR, ROOT

MODELS = f"-DeviceModelFolder:{ROOT}/examples/models/"
CASES = [
    ("examples/earth_fault_L1.xml", "ENG", ""),
    ("examples/earth_fault_L1.xml", "ENG", MODELS),
    ("examples/earth_fault_L1.zip", "ENG", ""),
    ("examples/earth_fault_L1.zip", "DEU", ""),
    ("examples/no_such_record.xml", "ENG", ""),
    ("examples/models", "ENG", ""),
    ("examples/models/CVR87_V04.10.02.dm", "ENG", ""),
] + [(str(path.relative_to(ROOT)), "ENG", "") for path in sorted((ROOT / "fuzz/corpus/record_xml").glob("*.xml"))]


def cvdr_dump(path, lang, options):
    run = subprocess.run([str(CVDR), "dump", path, "--json", "--lang", lang, "--options", options],
                         capture_output=True, text=True)
    assert run.returncode in (0, 1), run.stderr
    if run.returncode == 0:
        return json.loads(run.stdout), None
    return None, [line for line in run.stderr.splitlines() if line.startswith("cvdr: ")][-1]


def color_text(color_ref):
    return "#{:02X}{:02X}{:02X}".format(color_ref & 0xFF, (color_ref >> 8) & 0xFF, (color_ref >> 16) & 0xFF)


def expected_trigger_time(dump):
    fields = dump["triggerTime"]
    zone = dump["timeZone"]
    offset = zone["offset"] + zone["dstOffset"] if zone["valid"] else 0
    try:
        return (datetime.datetime(fields["tm_year"] + 1900, fields["tm_mon"] + 1, 1)
                + datetime.timedelta(days=fields["tm_mday"] - 1, hours=fields["tm_hour"], minutes=fields["tm_min"],
                                     seconds=fields["tm_sec"], microseconds=round(fields["milliseconds"] * 1000))
                ).replace(tzinfo=datetime.timezone(datetime.timedelta(seconds=offset)))
    except (OverflowError, ValueError):
        return None


def per_sample(transitions, channel_count, record_count, invalid, convert):
    """The state of each sample from each transition's first sample on."""
    states = [invalid] * record_count
    for i, (state, first) in enumerate(transitions):
        end = transitions[i + 1][1] if i + 1 < len(transitions) else channel_count
        states[first:min(end, channel_count)] = [convert(state)] * max(0, min(end, channel_count) - first)
    return states


def check_common(channel, dumped):
    assert (channel.name, channel.id, channel.key, channel.color) == (
        dumped["name"], dumped["id"], dumped["key"], color_text(dumped["color"]))


def check_frame(record):
    frame = record.to_dataframe()
    channels = record.analog + record.logical + record.digital
    assert frame.shape == (record.sample_count, len(channels))
    assert list(frame.columns) == [channel.name for channel in channels]
    numpy.testing.assert_array_equal(frame.index.to_numpy(), record.time_ms)
    for position, channel in enumerate(record.analog + record.logical):
        valid = channel.valid if position < len(record.analog) else numpy.not_equal(channel.values, None)
        numpy.testing.assert_array_equal(frame.iloc[:, position].isna().to_numpy(), ~valid)
    for position, channel in enumerate(record.digital, len(record.analog) + len(record.logical)):
        column = frame.iloc[:, position]
        assert str(column.dtype) == "boolean"
        numpy.testing.assert_array_equal(column.isna().to_numpy(), channel.states == 0)
        numpy.testing.assert_array_equal(column.fillna(False).to_numpy(bool), channel.states == 2)


@pytest.mark.parametrize("path,lang,options", CASES)
def test_record_equals_cvdr_dump(path, lang, options):
    path = str(ROOT / path)
    dump, failure = cvdr_dump(path, lang, options)
    if dump is None:
        with pytest.raises(dr_mvq4.LoadError) as raised:
            dr_mvq4.load(path, lang=lang, options=options)
        assert "cvdr: " + str(raised.value) == failure
        assert isinstance(raised.value, ValueError if os.path.isfile(path) else OSError)
        return
    record = dr_mvq4.load(path, lang=lang, options=options)
    count = dump["sampleCount"]
    assert (record.file_name, record.description) == (dump["file"]["name"], dump["file"]["description"])
    assert (record.sample_interval_ms, record.sample_count, record.trigger_sample) == (
        dump["sampleInterval"], count, dump["triggerSample"])
    zone = dump["timeZone"]
    assert record.time_zone == ((zone["offset"], zone["dstOffset"]) if zone["valid"] else None)
    if record.trigger_time is not None:
        assert record.trigger_time == expected_trigger_time(dump)
        assert record.trigger_time.utcoffset() == expected_trigger_time(dump).utcoffset()
    assert len(record.time_ms) == count
    if count:
        assert [record.time_ms[0], record.time_ms[-1]] == [dump["firstSampleTime"], dump["lastSampleTime"]]

    assert [len(record.analog), len(record.digital), len(record.logical)] == [
        len(dump["analog"]), len(dump["digital"]), len(dump["logical"])]
    for channel, dumped in zip(record.analog, dump["analog"]):
        check_common(channel, dumped)
        assert (channel.unit, channel.max_magnitude) == (dumped["unit"], dumped["maxMagnitude"])
        own = dumped["sampleCount"]
        numpy.testing.assert_array_equal(channel.values[:own], numpy.array(dumped["values"], dtype=float)[:count])
        assert "".join("1" if valid else "0" for valid in channel.valid) == (dumped["validity"] + "0" * count)[:count]
        ranges = dumped["ranges"]
        assert channel.invalid_ranges == [
            (first, ranges[i + 1][1] if i + 1 < len(ranges) else own)
            for i, (valid, first) in enumerate(ranges) if not valid]
        assert channel.values.dtype == numpy.float64 and not channel.values.flags.writeable
    for channel, dumped in zip(record.digital, dump["digital"]):
        check_common(channel, dumped)
        assert channel.transitions == [tuple(transition) for transition in dumped["transitions"]]
        assert channel.states.tolist() == per_sample(channel.transitions, dumped["sampleCount"], count, 0,
                                                     lambda state: state if state in (1, 2) else 0)
    for channel, dumped in zip(record.logical, dump["logical"]):
        check_common(channel, dumped)
        assert channel.transitions == [tuple(transition) for transition in dumped["transitions"]]
        assert channel.values.tolist() == per_sample(channel.transitions, dumped["sampleCount"], count, None,
                                                     lambda text: text or None)
    check_frame(record)


def test_channels_by_cvdrs_patterns():
    record = dr_mvq4.load(ROOT / "examples/earth_fault_L1.xml")
    assert record.channel("[IL1]") is record.channel("il1") is record.channel("Measurements/Currents/IL1") \
        is record.analog[0]
    assert record.channels("IL?,faultloop,*/Trip") == record.analog[:3] + [record.logical[0], record.digital[2]]
    with pytest.raises(KeyError, match="no channel matches"):
        record.channel("IL9")


def test_arrays_outlive_their_record():
    record = dr_mvq4.load(ROOT / "examples/earth_fault_L1.xml")
    arrays = [record.time_ms, record.analog[0].values, record.analog[0].valid, record.digital[0].states,
              record.logical[0].values]
    copies = [array.copy() for array in arrays]
    del record
    gc.collect()
    dr_mvq4.load(ROOT / "examples/earth_fault_L1.zip")  # reuses the freed memory, if any were freed
    for array, copy in zip(arrays, copies):
        numpy.testing.assert_array_equal(array, copy)


def test_analyze_equals_cvdr_analyze():
    path = str(ROOT / "examples/earth_fault_L1.xml")
    run = subprocess.run([str(CVDR), "analyze", path, "--json", "--at", "-1", "--at", "20", "--frequency", "50"],
                         capture_output=True, text=True, check=True)
    assert dr_mvq4.analyze(dr_mvq4.load(path), at=[-1, 20], frequency=50) == json.loads(run.stdout)
