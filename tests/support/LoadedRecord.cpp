#include "support/LoadedRecord.h"

namespace fixture {

ReaderPtr LoadRecordXml(const std::string& xml, const char* language, const wchar_t* options) {
    TempDir folder;
    const std::string path = folder.Write("record.xml", xml);
    DisturbanceDataReader* reader = nullptr;
    if (!CreateDisturbanceDataReaderInstance(&reader, Wide(path).c_str(), language, options)) return nullptr;
    return ReaderPtr(reader);
}

namespace {

template <typename Channel, typename Format>
std::string JoinTransitions(Channel* channel, Format format) {
    std::string text;
    for (auto it = channel->GetTransitionsBegin(); it != channel->GetTransitionsEnd(); ++it) {
        if (!text.empty()) text += ' ';
        text += format(*it) + "@" + std::to_string(it->firstSample);
    }
    return text;
}

}  // namespace

std::string Transitions(DigitalChannelReader* channel) {
    return JoinTransitions(channel, [](const DigitalTransition& t) { return std::to_string(t.state); });
}

std::string Transitions(LogicalChannelReader* channel) {
    return JoinTransitions(channel, [](const LogicalTransition& t) { return "'" + t.text + "'"; });
}

std::string Ranges(RangeMarker* marker) {
    std::string text;
    for (auto it = marker->GetRangesBegin(); it != marker->GetRangesEnd(); ++it) {
        if (!text.empty()) text += ' ';
        text += std::string(it->valid ? "v" : "i") + "@" + std::to_string(it->firstSample);
    }
    return text;
}

}  // namespace fixture
