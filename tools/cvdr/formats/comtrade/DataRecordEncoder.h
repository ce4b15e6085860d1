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

// The values of a stretch of samples, column by column, as read from the
// record: sample i of the block is sample first + i.
class SampleBlock {
public:
    SampleBlock(size_t analogColumns, size_t statusColumns, uint32_t capacity);

    // Starts a block of `count` samples (at most the capacity) from `first`:
    // every status bit low.
    void Start(uint32_t first, uint32_t count);

    uint32_t First() const { return m_first; }
    uint32_t Count() const { return m_count; }
    // The values of analog column `column` and whether each is there (1) or
    // invalid (0), one per sample of the block.
    double* Values(size_t column) { return &m_values[column * m_capacity]; }
    uint8_t* Present(size_t column) { return &m_present[column * m_capacity]; }
    const double* Values(size_t column) const { return &m_values[column * m_capacity]; }
    const uint8_t* Present(size_t column) const { return &m_present[column * m_capacity]; }
    // Sets status column `column` high for samples from to to - 1 of the block.
    void SetHigh(size_t column, uint32_t from, uint32_t to);
    // Status word `word` (columns 16 x word to 16 x word + 15) of sample i.
    uint16_t StatusWord(size_t word, uint32_t i) const { return m_status[word * m_capacity + i]; }
    bool StatusBit(size_t column, uint32_t i) const { return (StatusWord(column / 16, i) >> (column % 16)) & 1u; }

private:
    uint32_t m_first = 0;
    uint32_t m_count = 0;
    uint32_t m_capacity;
    size_t m_statusWords;
    std::vector<double> m_values;
    std::vector<uint8_t> m_present;
    std::vector<uint16_t> m_status;
};

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
    uint32_t BinaryValue(size_t column, bool present, double value) const;
    template <size_t Width>
    void PutRecords(char* record, const SampleBlock& block, double interval, const uint32_t* codes) const;

    DataType m_type;
    std::vector<Scaling> m_scalings;
    size_t m_statusCount;
    mutable std::vector<uint32_t> m_codes;  // scratch of AppendBinary
};

}  // namespace cvdr::comtrade

#endif
