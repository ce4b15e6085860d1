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
#include "formats/comtrade/SampleBlock.h"
#include "formats/comtrade/Scaling.h"

namespace cvdr::comtrade {

class DataRecordEncoder {
public:
    DataRecordEncoder(DataType type, std::vector<Scaling> scalings, size_t statusCount);

    // Bytes of one binary record; 0 for ASCII.
    size_t RecordBytes() const;

    // Appends the records of the block's samples; `interval` (ms) gives the
    // time stamps. Invalid and non-finite values of the integer types become
    // the missing value, invalid FLOAT32 values NaN; a time stamp that does
    // not fit 32 bits is written as missing.
    void Append(std::string& out, const SampleBlock& block, double interval) const;

private:
    void AppendAscii(std::string& out, const SampleBlock& block, double interval) const;
    void AppendBinary(std::string& out, const SampleBlock& block, double interval) const;
    void ColumnCodes(size_t column, const SampleBlock& block, uint32_t* codes, size_t stride) const;
    template <size_t Width>
    void PutRecords(char* record, const SampleBlock& block, double interval, const uint32_t* codes) const;

    DataType m_type;
    std::vector<Scaling> m_scalings;
    size_t m_statusCount;
    mutable std::vector<uint32_t> m_codes;  // scratch of AppendBinary
};

}  // namespace cvdr::comtrade

#endif
