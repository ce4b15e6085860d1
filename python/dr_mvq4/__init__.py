"""Disturbance records of Corvane relays as numpy arrays and pandas frames.

    import dr_mvq4
    record = dr_mvq4.load("examples/earth_fault_L1.xml")
    record.channel("IL1").values          # float64 numpy array, one value per sample
    frame = record.to_dataframe()          # needs pandas

The record is read through the decoder plug-in (libdr_mvq4.so) exactly as the
cvdr command-line host reads it. The plug-in is the one given as `plugin=`,
else $CVDR_PLUGIN, else the one beside this package, else the installed one.
Every array is read-only and built once at load; it stays valid after the
record is gone.
"""

import datetime as _datetime
import json as _json
import os as _os

from . import _native

__all__ = ["load", "LoadError", "Record", "AnalogChannel", "DigitalChannel", "LogicalChannel"]


class LoadError(Exception):
    """A record that could not be loaded; str() is the line cvdr prints.

    The error raised is also an OSError when the file cannot be read (with
    errno, strerror and filename set), and a ValueError otherwise (the
    decoder refused the content).
    """

    def __str__(self):
        return str(self.args[0]) if self.args else ""


class _UnreadableRecord(LoadError, OSError):
    pass


class _RefusedRecord(LoadError, ValueError):
    pass


class _Channel:
    __slots__ = ("name", "id", "key", "color")

    def _set_common(self, common):
        self.name, self.id, self.key, self.color = common

    def __repr__(self):
        return f"<{type(self).__name__} {self.name!r} key={self.key!r}>"


class AnalogChannel(_Channel):
    """A sampled channel.

    name, unit, id, key, color ("#RRGGBB"); values (float64) and valid (bool),
    one per sample of the record, read-only; max_magnitude; invalid_ranges, a
    list of (first, end) sample runs the reader marks invalid.
    """

    __slots__ = ("unit", "values", "valid", "max_magnitude", "invalid_ranges")

    def __init__(self, native):
        common, self.unit, (self.values, self.valid), self.max_magnitude, self.invalid_ranges = native
        self._set_common(common)


class DigitalChannel(_Channel):
    """A two-state channel.

    name, id, key, color; states (uint8 per sample: 0 invalid, 1 low,
    2 high); transitions, a list of (state, first_sample) as the reader
    reports them.
    """

    __slots__ = ("states", "transitions")

    def __init__(self, native):
        common, self.states, self.transitions = native
        self._set_common(common)


class LogicalChannel(_Channel):
    """A multi-valued channel.

    name, id, key, color; transitions, a list of (text, first_sample), ""
    being the invalid state; values, an object array of the text per sample,
    None where invalid.
    """

    __slots__ = ("transitions", "values")

    def __init__(self, native):
        common, self.transitions, self.values = native
        self._set_common(common)


class Record:
    """A loaded disturbance record (see load()).

    file_name, description; trigger_time (timezone-aware datetime in the
    record's own clock, None when the reader reports none; UTC when the
    record has no time zone); time_zone ((offset, daylight_saving) in
    seconds, or None); sample_interval_ms, sample_count, trigger_sample;
    time_ms (float64 array, ms relative to the trigger); analog, digital,
    logical: lists of channels in the reader's order.
    """

    __slots__ = ("_native", "file_name", "description", "trigger_time", "time_zone", "sample_interval_ms",
                 "sample_count", "trigger_sample", "time_ms", "analog", "digital", "logical")

    def __init__(self, native):
        self._native = native
        summary = native.summary()
        self.file_name = summary["file_name"]
        self.description = summary["description"]
        self.trigger_time = _trigger_time(summary["trigger_microseconds"], summary["clock_offset"])
        self.time_zone = summary["time_zone"]
        self.sample_interval_ms = summary["sample_interval_ms"]
        self.sample_count = summary["sample_count"]
        self.trigger_sample = summary["trigger_sample"]
        self.time_ms = native.time_ms()
        self.analog = [AnalogChannel(channel) for channel in native.analog()]
        self.digital = [DigitalChannel(channel) for channel in native.digital()]
        self.logical = [LogicalChannel(channel) for channel in native.logical()]

    def __repr__(self):
        return (f"<Record {self.file_name!r}: {self.sample_count} samples, {len(self.analog)} analog, "
                f"{len(self.digital)} digital, {len(self.logical)} logical>")

    def channels(self, patterns):
        """Every channel `patterns` names, by the rules of cvdr's --channels:
        ignoring case, a channel's name, its name without the brackets or
        braces of a name made from a key ("IL1" for "[IL1]"), its key, or the
        last component of its key; a pattern with '*' or '?' is a glob over
        the same texts; several patterns may be separated by commas. For each
        pattern in turn the channels it names (analog, then digital, then
        logical), each channel once. Raises KeyError, with cvdr's text, for a
        pattern that names none.

        >>> [channel.name for channel in record.channels("IL*")]
        ['[IL1]', '[IL2]', '[IL3]']
        """
        return [getattr(self, kind)[index] for kind, index in self._native.match(patterns)]

    def channel(self, wanted):
        """The first channel of channels(wanted). Raises KeyError when none
        matches.

        >>> record.channel("il1").unit
        'A'
        """
        return self.channels(wanted)[0]

    def to_dataframe(self):
        """A pandas DataFrame: index time in ms relative to the trigger; one
        float column per analog channel and one text column per logical
        channel (NaN where invalid), then one nullable boolean column per
        digital channel (True high, False low, NA invalid). Columns are named
        after the channels. Needs pandas.
        """
        import numpy
        import pandas

        columns = {}
        for position, channel in enumerate(self.analog):
            columns[position] = numpy.where(channel.valid, channel.values, numpy.nan)
        for channel in self.logical:
            values = channel.values.copy()
            values[numpy.equal(values, None)] = numpy.nan
            columns[len(columns)] = values
        for channel in self.digital:
            columns[len(columns)] = pandas.arrays.BooleanArray(channel.states == 2, channel.states == 0)
        frame = pandas.DataFrame(columns, index=pandas.Index(self.time_ms, name="time [ms]"), copy=False)
        frame.columns = [channel.name for channel in self.analog + self.logical + self.digital]
        return frame


def _trigger_time(microseconds, clock_offset):
    if microseconds is None:
        return None
    try:
        zone = _datetime.timezone(_datetime.timedelta(seconds=clock_offset or 0))
        local = _datetime.datetime(1970, 1, 1) + _datetime.timedelta(microseconds=microseconds)
    except (OverflowError, ValueError):  # beyond what datetime holds
        return None
    return local.replace(tzinfo=zone)


def analyze(record, at=(), frequency=50):
    """The figures `cvdr analyze --json` gives for `record`, as Python objects
    (format cvdr-analysis/1, docs/analysis-format.md), computed by the same
    code: per analog channel the extremes, RMS and the fundamental phasor at
    each time in `at` (ms relative to the trigger; empty: the cycle ending at
    the trigger and the one a cycle later), the three-phase groups' sequence
    components, and the events. `frequency` is the line frequency in Hz.

    >>> dr_mvq4.analyze(record, at=[-1, 20])["analog"][0]["phasors"]
    """
    return _json.loads(record._native.analysis_json([float(t) for t in at], float(frequency)))


def load(path, lang="ENG", options="", plugin=None):
    """Loads the record at `path` through the decoder plug-in.

    `lang` is the host language code, `options` the option string (as cvdr's
    --lang and --options), `plugin` the plug-in library to use instead of
    the usual search. Raises LoadError (an OSError when the file cannot be
    read, else a ValueError) with the text cvdr prints, and OSError when the
    plug-in cannot be loaded.

    >>> record = dr_mvq4.load("examples/earth_fault_L1.zip", lang="DEU")
    """
    path = _os.fspath(path)
    native = _native.load(path, lang, options, _os.fspath(plugin) if plugin is not None else "",
                          _os.path.dirname(_os.path.abspath(__file__)))
    if native is not None:
        return Record(native)
    message = _native.load_failure(path)
    try:
        with open(path, "rb"):
            pass
    except OSError as error:
        failure = _UnreadableRecord(message)
        failure.errno, failure.strerror, failure.filename = error.errno, error.strerror, path
        raise failure from None
    raise _RefusedRecord(message)
