// The data (.dat) records, one per sample: sample number, time stamp, the
// analog data values, then the status bits. ASCII records are text lines
// ended by CR LF; binary records are little-endian: two 32-bit unsigned
// integers, one 16-bit (BINARY) or 32-bit (BINARY32, FLOAT32) value per
// analog channel, and the status bits packed sixteen to a 16-bit word, the
// first channel in the lowest bit.
#ifndef CVDR_FORMATS_COMTRADE_DATA_RECORD_ENCODER_H
#define CVDR_FORMATS_COMTRADE_DATA_RECORD_ENCODER_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/comtrade/ComtradeFormat.h"
#include "formats/comtrade/Scaling.h"

namespace cvdr::comtrade {

// The values of one sample, as read from the record.
struct SampleValues {
    uint32_t number = 0;                        // 1-based
    std::optional<int64_t> timestamp;           // microseconds from the first sample
    std::vector<std::optional<double>> analog;  // none: invalid
    std::vector<bool> status;                   // true: high
};

class DataRecordEncoder {
public:
    DataRecordEncoder(DataType type, std::vector<Scaling> scalings, size_t statusCount);

    // Bytes of one binary record; 0 for ASCII.
    size_t RecordBytes() const;

    // Appends the record of one sample. Invalid and non-finite values of the
    // integer types become the missing value, invalid FLOAT32 values NaN; a
    // time stamp that does not fit 32 bits is written as missing.
    void Append(std::string& out, const SampleValues& values) const;

private:
    void AppendAscii(std::string& out, const SampleValues& values) const;
    void AppendBinary(std::string& out, const SampleValues& values) const;
    uint32_t BinaryValue(size_t column, const std::optional<double>& value) const;

    DataType m_type;
    std::vector<Scaling> m_scalings;
    size_t m_statusCount;
};

}  // namespace cvdr::comtrade

#endif
