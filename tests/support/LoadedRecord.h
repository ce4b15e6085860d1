// Loads record text through the plug-in's create export, as the host does.
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
ReaderPtr LoadRecordXml(const std::string& xml, const char* language = "ENG", const wchar_t* options = L"");
inline ReaderPtr LoadRecord(const RecordBuilder& builder) { return LoadRecordXml(builder.Xml()); }

// The digital transitions of a channel as "state@sample" items, e.g. "1@0 2@2".
std::string Transitions(DigitalChannelReader* channel);
std::string Transitions(LogicalChannelReader* channel);
// The ranges of a channel as "valid@sample" items with v/i, e.g. "v@0 i@4".
std::string Ranges(RangeMarker* marker);

}  // namespace fixture

#endif
