// dr_mvq4._native: the host library seen from Python. A record is read once
// through the plug-in into a host::Record that Python holds; its sample arrays
// are handed out as read-only numpy views that keep the record alive, so no
// sample is copied after the read. The package's __init__.py builds the
// public classes on top.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/RecordAnalysis.h"
#include "commands/LoadDiagnosis.h"
#include "formats/NumberText.h"
#include "formats/json/AnalysisWriter.h"
#include "formats/Utf8Text.h"
#include "host/ChannelSelection.h"
#include "host/Plugin.h"
#include "host/PluginPath.h"
#include "host/Record.h"
#include "host/RecordReader.h"
#include "host/TimeAxis.h"
#include "host/TransitionCursor.h"

namespace py = pybind11;

namespace {

using RecordPtr = std::shared_ptr<host::Record>;

py::str Text(const std::string& text) { return py::str(cvdr::ValidUtf8(text)); }

void MakeReadOnly(py::array& array) { array.attr("setflags")(py::arg("write") = false); }

// A read-only view of `count` items at `data` that keeps `owner` alive.
template <typename Item>
py::array View(const py::dtype& type, const Item* data, size_t count, const py::object& owner) {
    py::array array(type, {count}, {}, data, owner);
    MakeReadOnly(array);
    return array;
}

// The channel's values and validity over the record's samples: views when the
// channel has as many samples as the record, else padded copies made once
// (invalid, NaN beyond the channel's own samples).
py::tuple AnalogArrays(const host::Record& record, const host::AnalogChannel& channel, const py::object& owner) {
    const size_t count = record.sampleCount;
    if (channel.values.size() == count && channel.valid.size() == count)
        return py::make_tuple(View(py::dtype::of<double>(), channel.values.data(), count, owner),
                              View(py::dtype("bool"), channel.valid.data(), count, owner));
    py::array_t<double> values(count);
    py::array_t<bool> valid(count);
    double* value = values.mutable_data();
    bool* flag = valid.mutable_data();
    for (size_t i = 0; i < count; ++i) {
        const bool inside = i < channel.values.size() && i < channel.valid.size();
        value[i] = inside ? channel.values[i] : std::nan("");
        flag[i] = inside && channel.valid[i] != 0;
    }
    py::array valuesArray = values, validArray = valid;
    MakeReadOnly(valuesArray);
    MakeReadOnly(validArray);
    return py::make_tuple(valuesArray, validArray);
}

py::list InvalidRanges(const host::Channel& channel) {
    py::list ranges;
    for (size_t i = 0; i < channel.ranges.size(); ++i) {
        if (channel.ranges[i].valid) continue;
        const uint32_t end = i + 1 < channel.ranges.size() ? channel.ranges[i + 1].firstSample : channel.sampleCount;
        ranges.append(py::make_tuple(channel.ranges[i].firstSample, end));
    }
    return ranges;
}

// name, id, key, colour: what every channel kind starts with.
py::tuple Common(const host::Channel& channel) {
    return py::make_tuple(Text(channel.name), channel.id, Text(channel.key), cvdr::ColorText(channel.color));
}

py::tuple Analog(const host::Record& record, const host::AnalogChannel& channel, const py::object& owner) {
    return py::make_tuple(Common(channel), Text(channel.unit), AnalogArrays(record, channel, owner),
                          channel.maxMagnitude, InvalidRanges(channel));
}

// One state per sample: 0 invalid, 1 low, 2 high.
py::array DigitalStates(const host::Record& record, const host::DigitalChannel& channel) {
    py::array_t<uint8_t> states(record.sampleCount);
    uint8_t* state = states.mutable_data();
    host::TransitionCursor<DigitalTransition> cursor(channel);
    for (uint32_t sample = 0; sample < record.sampleCount;) {
        const uint8_t level = static_cast<uint8_t>(host::DigitalLevel(cursor.At(sample)) + 1);
        const uint32_t end = std::min(cursor.RunEnd(sample), record.sampleCount);
        std::fill(state + sample, state + end, level);
        sample = end;
    }
    py::array array = states;
    MakeReadOnly(array);
    return array;
}

py::tuple Digital(const host::Record& record, const host::DigitalChannel& channel) {
    py::list transitions;
    for (const DigitalTransition& transition : channel.transitions)
        transitions.append(py::make_tuple(transition.state, transition.firstSample));
    return py::make_tuple(Common(channel), DigitalStates(record, channel), transitions);
}

// The text per sample, None where invalid; one str object per transition.
py::tuple Logical(const host::Record& record, const host::LogicalChannel& channel) {
    py::list transitions;
    std::vector<py::object> texts;
    for (const LogicalTransition& transition : channel.transitions) {
        texts.push_back(Text(transition.text));
        transitions.append(py::make_tuple(texts.back(), transition.firstSample));
    }
    auto values = py::module_::import("numpy")
                      .attr("full")(record.sampleCount, py::none(), py::arg("dtype") = "object")
                      .cast<py::array>();
    PyObject** slot = static_cast<PyObject**>(values.mutable_data());
    host::TransitionCursor<LogicalTransition> cursor(channel);
    for (uint32_t sample = 0; sample < record.sampleCount;) {
        const LogicalTransition* transition = cursor.At(sample);
        const uint32_t end = std::min(cursor.RunEnd(sample), record.sampleCount);
        if (host::IsLogicalValid(transition)) {
            PyObject* text = texts[static_cast<size_t>(transition - channel.transitions.data())].ptr();
            for (uint32_t i = sample; i < end; ++i) {
                Py_INCREF(text);
                Py_DECREF(slot[i]);
                slot[i] = text;
            }
        }
        sample = end;
    }
    MakeReadOnly(values);
    return py::make_tuple(Common(channel), transitions, values);
}

py::dict Summary(const host::Record& record) {
    py::dict summary;
    summary["file_name"] = Text(record.fileName);
    summary["description"] = Text(record.description);
    summary["trigger_microseconds"] = host::TriggerMicroseconds(record);
    summary["clock_offset"] = host::ClockOffsetSeconds(record);
    summary["time_zone"] = record.timeZone.valid ? py::object(py::make_tuple(record.timeZone.offset,
                                                                             record.timeZone.dstOffset))
                                                 : py::object(py::none());
    summary["sample_interval_ms"] = record.sampleInterval;
    summary["sample_count"] = record.sampleCount;
    summary["trigger_sample"] = record.triggerSample;
    return summary;
}

// Loads the plug-in (explicit path, $CVDR_PLUGIN, beside `moduleFolder`, the
// installed library folder) and reads the record; None when the plug-in
// refuses it. A plug-in that cannot be loaded raises OSError.
std::optional<RecordPtr> Load(const std::string& file, const std::string& language, const std::string& options,
                              const std::string& plugin, const std::string& moduleFolder) {
    std::string error;
    const std::shared_ptr<host::Plugin> loaded = host::Plugin::Load(host::FindPlugin(plugin, moduleFolder), error);
    if (!loaded) {
        PyErr_SetString(PyExc_OSError, error.c_str());
        throw py::error_already_set();
    }
    std::optional<host::Record> record = host::LoadRecord(*loaded, {file, language, options});
    if (!record) return std::nullopt;
    return std::make_shared<host::Record>(std::move(*record));
}

const char* KindName(host::ChannelKind kind) {
    if (kind == host::ChannelKind::kAnalog) return "analog";
    if (kind == host::ChannelKind::kDigital) return "digital";
    return "logical";
}

}  // namespace

PYBIND11_MODULE(_native, module) {
    module.doc() = "The host library of dr_mvq4 for the dr_mvq4 package; use the package, not this module.";
    module.def("load", &Load, py::arg("file"), py::arg("language"), py::arg("options"), py::arg("plugin"),
               py::arg("module_folder"));
    module.def("load_failure", &cvdr::LoadFailureMessage, py::arg("file"),
               "The text cvdr prints when a record cannot be loaded.");
    py::class_<host::Record, RecordPtr>(module, "NativeRecord")
        .def("summary", &Summary)
        .def("time_ms",
             [](const py::object& self) {
                 const host::Record& record = self.cast<const host::Record&>();
                 return View(py::dtype::of<double>(), record.sampleTimes.data(), record.sampleTimes.size(), self);
             })
        .def("analog",
             [](const py::object& self) {
                 const host::Record& record = self.cast<const host::Record&>();
                 py::list channels;
                 for (const host::AnalogChannel& channel : record.analog) channels.append(Analog(record, channel, self));
                 return channels;
             })
        .def("digital",
             [](const host::Record& record) {
                 py::list channels;
                 for (const host::DigitalChannel& channel : record.digital) channels.append(Digital(record, channel));
                 return channels;
             })
        .def("logical",
             [](const host::Record& record) {
                 py::list channels;
                 for (const host::LogicalChannel& channel : record.logical) channels.append(Logical(record, channel));
                 return channels;
             })
        // What `cvdr analyze --json` writes for the record, from the same code.
        .def("analysis_json",
             [](const host::Record& record, const std::vector<double>& at, double frequency) {
                 analysis::AnalysisRequest request;
                 request.frequency = frequency;
                 request.times = at;
                 std::ostringstream out;
                 cvdr::WriteAnalysisJson(record, analysis::AnalyzeRecord(record, request), out);
                 return out.str();
             })
        // (kind, index) of every channel `patterns` names, as cvdr's --channels picks them;
        // KeyError with cvdr's text when a pattern names none.
        .def("match", [](const host::Record& record, const std::string& patterns) {
            std::vector<host::ChannelRef> refs;
            try {
                refs = host::MatchChannels(record, {patterns});
            } catch (const std::runtime_error& error) {
                throw py::key_error(error.what());
            }
            py::list found;
            for (const host::ChannelRef& ref : refs) found.append(py::make_tuple(KindName(ref.kind), ref.index));
            return found;
        });
}
