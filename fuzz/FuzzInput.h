// Reads a fuzz input laid out as bytes, length-prefixed texts and 32-bit
// little-endian sizes; past its end every read gives what is left (nothing).
#ifndef DR_MVQ4_FUZZ_FUZZ_INPUT_H
#define DR_MVQ4_FUZZ_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Byte(uint8_t& value) {
        if (m_at >= m_size) return false;
        value = m_data[m_at++];
        return true;
    }
    // Up to `count` bytes: fewer at the end of the input.
    bool Bytes(size_t count, std::string& text) {
        if (count > m_size - m_at) count = m_size - m_at;
        text.assign(reinterpret_cast<const char*>(m_data + m_at), count);
        m_at += count;
        return true;
    }
    // A length byte, then that many bytes.
    bool ShortText(std::string& text) {
        uint8_t length = 0;
        return Byte(length) && Bytes(length, text);
    }
    bool Size(uint32_t& value) {
        value = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            uint8_t byte = 0;
            if (!Byte(byte)) return false;
            value |= static_cast<uint32_t>(byte) << shift;
        }
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

#endif
