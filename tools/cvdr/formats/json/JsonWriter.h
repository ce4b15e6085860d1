// Streaming JSON writer. Records can hold millions of samples, so the dump is
// written value by value instead of being built as a document first; the
// caller's call order is the key order of the output.
//
// Containers opened less than kBreakDepth levels deep put each member on a
// line of its own; deeper ones (sample arrays, range pairs) stay on one line.
#ifndef CVDR_FORMATS_JSON_JSON_WRITER_H
#define CVDR_FORMATS_JSON_JSON_WRITER_H

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace cvdr {

class JsonWriter {
public:
    static constexpr size_t kBreakDepth = 4;

    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // Writes the member name; the next call writes its value.
    JsonWriter& Key(std::string_view name);

    // Escaped string; each byte that is not valid UTF-8 becomes U+FFFD.
    JsonWriter& String(std::string_view text);
    JsonWriter& Int(int64_t value);
    JsonWriter& UInt(uint64_t value);
    // Shortest round-trip form; "nan", "inf" and "-inf" as strings.
    JsonWriter& Number(double value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

private:
    void BeforeValue();
    JsonWriter& Open(char bracket);
    JsonWriter& Close(char bracket);
    void Indent(size_t depth);

    std::ostream& m_out;
    std::vector<bool> m_empty;  // per open container: nothing written into it yet
    bool m_afterKey = false;
};

}  // namespace cvdr

#endif
