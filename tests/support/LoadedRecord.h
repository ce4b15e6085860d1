// Loads record text through the plug-in's create export, as the host does,
// and shows what a channel holds as short text.
#ifndef DR_MVQ4_TESTS_SUPPORT_LOADED_RECORD_H
#define DR_MVQ4_TESTS_SUPPORT_LOADED_RECORD_H

#include <memory>
#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "support/RecordFixture.h"

namespace fixture {

struct ReaderDeleter {
    void operator()(DisturbanceDataReader* reader) const { FreeDisturbanceDataReaderInstance(reader); }
};
using ReaderPtr = std::unique_ptr<DisturbanceDataReader, ReaderDeleter>;

// Writes `xml` to a temporary file and loads it; null when the load fails.
inline ReaderPtr LoadRecordXml(const std::string& xml) {
    TempDir folder;
    DisturbanceDataReader* reader = nullptr;
    const std::wstring path = Wide(folder.Write("record.xml", xml));
    return CreateDisturbanceDataReaderInstance(&reader, path.c_str(), "ENG", L"") ? ReaderPtr(reader)
                                                                                  : nullptr;
}
inline ReaderPtr LoadRecord(const RecordBuilder& builder) { return LoadRecordXml(builder.Xml()); }

inline std::string Item(const DigitalTransition& transition) { return std::to_string(transition.state); }
inline std::string Item(const LogicalTransition& transition) { return "'" + transition.text + "'"; }
inline std::string Item(const RangeRecord& range) { return range.valid ? "v" : "i"; }

// The records from `it` to `end` as "item@firstSample", blank-separated.
template <typename Iterator>
std::string Items(Iterator it, Iterator end) {
    std::string text;
    for (; it != end; ++it)
        text += (text.empty() ? "" : " ") + Item(*it) + "@" + std::to_string(it->firstSample);
    return text;
}

// The transitions of a digital channel ("1@0 2@2") or a logical one ("'3'@0 ''@2").
template <typename Channel>
std::string Transitions(Channel* channel) {
    return Items(channel->GetTransitionsBegin(), channel->GetTransitionsEnd());
}
// The valid and invalid ranges of a channel, e.g. "v@0 i@4".
inline std::string Ranges(RangeMarker* marker) {
    return Items(marker->GetRangesBegin(), marker->GetRangesEnd());
}

}  // namespace fixture

#endif
