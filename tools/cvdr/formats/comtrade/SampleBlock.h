// The values of a stretch of samples, column by column, as read from a
// record, and their status bits: what the data records of a block are made
// from.
#ifndef CVDR_FORMATS_COMTRADE_SAMPLE_BLOCK_H
#define CVDR_FORMATS_COMTRADE_SAMPLE_BLOCK_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cvdr::comtrade {

// Sample i of the block is sample first + i.
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

}  // namespace cvdr::comtrade

#endif
