#include "formats/comtrade/DataRecordEncoder.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace cvdr::comtrade {
namespace {

constexpr uint32_t kMissingTimestamp = 0xFFFFFFFF;

template <typename Integer>
void AppendInteger(std::string& out, Integer value) {
    char buffer[24];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendLittleEndian(std::string& out, uint32_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool FitsTimestamp(const std::optional<int64_t>& timestamp) {
    return timestamp && *timestamp >= 0 && *timestamp < int64_t{kMissingTimestamp};
}

uint32_t FloatBits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

DataRecordEncoder::DataRecordEncoder(DataType type, std::vector<Scaling> scalings, size_t statusCount)
    : m_type(type), m_scalings(std::move(scalings)), m_statusCount(statusCount) {}

size_t DataRecordEncoder::RecordBytes() const {
    if (m_type == DataType::kAscii) return 0;
    return 8 + m_scalings.size() * ValueBytes(m_type) + 2 * ((m_statusCount + 15) / 16);
}

void DataRecordEncoder::Append(std::string& out, const SampleValues& values) const {
    if (m_type == DataType::kAscii) {
        AppendAscii(out, values);
    } else {
        AppendBinary(out, values);
    }
}

void DataRecordEncoder::AppendAscii(std::string& out, const SampleValues& values) const {
    AppendInteger(out, values.number);
    out.push_back(',');
    if (FitsTimestamp(values.timestamp)) AppendInteger(out, *values.timestamp);
    for (size_t i = 0; i < m_scalings.size(); ++i) {
        const std::optional<double>& value = values.analog[i];
        out.push_back(',');
        const bool written = value && std::isfinite(*value);
        AppendInteger(out, written ? m_scalings[i].Quantise(*value) : int64_t{99999});
    }
    for (bool bit : values.status) out += bit ? ",1" : ",0";
    out += "\r\n";
}

// The 32 bits of a value; a 16-bit value is in the low half.
uint32_t DataRecordEncoder::BinaryValue(size_t column, const std::optional<double>& value) const {
    if (m_type == DataType::kFloat32) {
        return FloatBits(value ? static_cast<float>(*value) : std::numeric_limits<float>::quiet_NaN());
    }
    const uint32_t missing = m_type == DataType::kBinary ? 0x8000 : 0x80000000;
    if (!value || !std::isfinite(*value)) return missing;
    return static_cast<uint32_t>(m_scalings[column].Quantise(*value));  // two's complement, cut to its width
}

void DataRecordEncoder::AppendBinary(std::string& out, const SampleValues& values) const {
    AppendLittleEndian(out, values.number, 4);
    AppendLittleEndian(
        out, FitsTimestamp(values.timestamp) ? static_cast<uint32_t>(*values.timestamp) : kMissingTimestamp,
        4);
    const size_t width = ValueBytes(m_type);
    for (size_t i = 0; i < m_scalings.size(); ++i)
        AppendLittleEndian(out, BinaryValue(i, values.analog[i]), width);
    for (size_t word = 0; word * 16 < m_statusCount; ++word) {
        uint32_t bits = 0;
        for (size_t bit = 0; bit < 16 && word * 16 + bit < m_statusCount; ++bit) {
            if (values.status[word * 16 + bit]) bits |= uint32_t{1} << bit;
        }
        AppendLittleEndian(out, bits, 2);
    }
}

}  // namespace cvdr::comtrade
