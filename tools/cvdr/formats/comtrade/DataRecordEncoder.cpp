#include "formats/comtrade/DataRecordEncoder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "host/TimeAxis.h"

namespace cvdr::comtrade {
namespace {

constexpr uint32_t kMissingTimestamp = 0xFFFFFFFF;
constexpr float kFloatMissing = std::numeric_limits<float>::quiet_NaN();

template <typename Integer>
void AppendInteger(std::string& out, Integer value) {
    char buffer[24];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

char* PutLittleEndian(char* out, uint32_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return out + bytes;
}

// The time stamp of a sample: microseconds from the first sample.
std::optional<int64_t> Timestamp(uint32_t sample, double interval) {
    const std::optional<int64_t> timestamp = host::MillisecondsToMicroseconds(sample * interval);
    if (timestamp && *timestamp >= 0 && *timestamp < int64_t{kMissingTimestamp}) return timestamp;
    return std::nullopt;
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

void DataRecordEncoder::Append(std::string& out, const SampleBlock& block, double interval) const {
    if (m_type == DataType::kAscii) {
        AppendAscii(out, block, interval);
    } else {
        AppendBinary(out, block, interval);
    }
}

void DataRecordEncoder::AppendAscii(std::string& out, const SampleBlock& block, double interval) const {
    for (uint32_t i = 0; i < block.Count(); ++i) {
        const uint32_t sample = block.First() + i;
        AppendInteger(out, sample + 1);
        out.push_back(',');
        const std::optional<int64_t> timestamp = Timestamp(sample, interval);
        if (timestamp) AppendInteger(out, *timestamp);
        for (size_t c = 0; c < m_scalings.size(); ++c) {
            const double value = block.Values(c)[i];
            out.push_back(',');
            const bool written = block.Present(c)[i] != 0 && std::isfinite(value);
            AppendInteger(out, written ? m_scalings[c].Quantise(value) : int64_t{99999});
        }
        for (size_t s = 0; s < m_statusCount; ++s) out += block.StatusBit(s, i) ? ",1" : ",0";
        out += "\r\n";
    }
}

// The 32 bits of the values of column `column` (a 16-bit value in the low
// half), at codes[i x stride] for sample i of the block: the data type is
// looked at once per column, not per value.
void DataRecordEncoder::ColumnCodes(size_t column, const SampleBlock& block, uint32_t* codes, size_t stride) const {
    const double* values = block.Values(column);
    const uint8_t* present = block.Present(column);
    const uint32_t count = block.Count();
    if (m_type == DataType::kFloat32) {
        for (uint32_t i = 0; i < count; ++i) {
            codes[i * stride] = FloatBits(present[i] != 0 ? static_cast<float>(values[i]) : kFloatMissing);
        }
        return;
    }
    const Scaling& scaling = m_scalings[column];
    const uint32_t missing = m_type == DataType::kBinary ? 0x8000 : 0x80000000;
    for (uint32_t i = 0; i < count; ++i) {
        const double value = values[i];
        const bool written = (present[i] != 0) & std::isfinite(value);
        // two's complement, cut to its width
        const uint32_t code = static_cast<uint32_t>(scaling.Quantise(written ? value : 0.0));
        codes[i * stride] = written ? code : missing;
    }
}

// The records of the block, row by row, from the data values worked out
// beforehand (`codes`: sample i's values from i x columns on).
template <size_t Width>
void DataRecordEncoder::PutRecords(char* record, const SampleBlock& block, double interval,
                                   const uint32_t* codes) const {
    const size_t columns = m_scalings.size();
    const size_t words = (m_statusCount + 15) / 16;
    const uint32_t count = block.Count();
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t sample = block.First() + i;
        record = PutLittleEndian(record, sample + 1, 4);
        const std::optional<int64_t> timestamp = Timestamp(sample, interval);
        record = PutLittleEndian(record, timestamp ? static_cast<uint32_t>(*timestamp) : kMissingTimestamp, 4);
        for (size_t c = 0; c < columns; ++c) record = PutLittleEndian(record, codes[i * columns + c], Width);
        for (size_t word = 0; word < words; ++word) record = PutLittleEndian(record, block.StatusWord(word, i), 2);
    }
}

void DataRecordEncoder::AppendBinary(std::string& out, const SampleBlock& block, double interval) const {
    const uint32_t count = block.Count();
    const size_t columns = m_scalings.size();
    m_codes.resize(columns * count);
    for (size_t c = 0; c < columns; ++c) ColumnCodes(c, block, &m_codes[c], columns);
    const size_t start = out.size();
    out.resize(start + count * RecordBytes());
    if (ValueBytes(m_type) == 2) {
        PutRecords<2>(&out[start], block, interval, m_codes.data());
    } else {
        PutRecords<4>(&out[start], block, interval, m_codes.data());
    }
}

}  // namespace cvdr::comtrade
