#include "formats/json/JsonWriter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "formats/NumberText.h"
#include "formats/Utf8Text.h"

namespace cvdr {
namespace {

template <typename Integer>
void WriteInteger(std::ostream& out, Integer value) {
    std::array<char, 24> buffer;
    const std::to_chars_result result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.write(buffer.data(), result.ptr - buffer.data());
}

}  // namespace

void JsonWriter::Indent(size_t depth) {
    m_out.put('\n');
    for (size_t i = 0; i < depth; ++i) m_out.write("  ", 2);
}

// Separates the value from its predecessor; a value right after its key
// needs nothing.
void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_empty.empty()) return;
    if (!m_empty.back()) m_out.put(',');
    m_empty.back() = false;
    if (m_empty.size() < kBreakDepth) Indent(m_empty.size());
}

JsonWriter& JsonWriter::Open(char bracket) {
    BeforeValue();
    m_out.put(bracket);
    m_empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
    const bool wasEmpty = m_empty.back();
    m_empty.pop_back();
    if (!wasEmpty && m_empty.size() + 1 < kBreakDepth) Indent(m_empty.size());
    m_out.put(bracket);
    return *this;
}

JsonWriter& JsonWriter::BeginObject() { return Open('{'); }
JsonWriter& JsonWriter::EndObject() { return Close('}'); }
JsonWriter& JsonWriter::BeginArray() { return Open('['); }
JsonWriter& JsonWriter::EndArray() { return Close(']'); }

JsonWriter& JsonWriter::Key(std::string_view name) {
    String(name);
    m_out.write(": ", 2);
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    // Each byte that is not UTF-8 becomes one U+FFFD before escaping.
    const nlohmann::json value = ValidUtf8(text);
    m_out << value.dump(-1, ' ', false, nlohmann::json::error_handler_t::strict);
    return *this;
}

JsonWriter& JsonWriter::Int(int64_t value) {
    BeforeValue();
    WriteInteger(m_out, value);
    return *this;
}

JsonWriter& JsonWriter::UInt(uint64_t value) {
    BeforeValue();
    WriteInteger(m_out, value);
    return *this;
}

JsonWriter& JsonWriter::Number(double value) {
    if (!std::isfinite(value)) return String(NumberText(value));
    BeforeValue();
    m_out << NumberText(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    m_out << (value ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    m_out << "null";
    return *this;
}

}  // namespace cvdr
