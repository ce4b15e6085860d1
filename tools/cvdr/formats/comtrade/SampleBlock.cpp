#include "formats/comtrade/SampleBlock.h"

#include <algorithm>

namespace cvdr::comtrade {

SampleBlock::SampleBlock(size_t analogColumns, size_t statusColumns, uint32_t capacity)
    : m_capacity(capacity),
      m_statusWords((statusColumns + 15) / 16),
      m_values(analogColumns * capacity),
      m_present(analogColumns * capacity),
      m_status(m_statusWords * capacity) {}

void SampleBlock::Start(uint32_t first, uint32_t count) {
    m_first = first;
    m_count = count;
    std::fill(m_status.begin(), m_status.end(), uint16_t{0});
}

void SampleBlock::SetHigh(size_t column, uint32_t from, uint32_t to) {
    uint16_t* words = &m_status[column / 16 * m_capacity];
    const uint16_t bit = static_cast<uint16_t>(1u << (column % 16));
    for (uint32_t i = from; i < to; ++i) words[i] = static_cast<uint16_t>(words[i] | bit);
}

}  // namespace cvdr::comtrade
