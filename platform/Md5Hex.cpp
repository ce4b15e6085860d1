#include "platform/Md5Hex.h"

#include <cstring>

namespace platform {
namespace {

// Per-step additive constants: floor(abs(sin(i + 1)) * 2^32).
constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

// Left-rotation amounts, four per round.
constexpr unsigned kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

uint32_t RotateLeft(uint32_t value, unsigned count) { return (value << count) | (value >> (32 - count)); }

uint32_t LoadLittleEndian(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

// The round function and message word of step `step` (0 to 63).
uint32_t RoundFunction(unsigned step, uint32_t b, uint32_t c, uint32_t d, unsigned& word) {
    switch (step / 16) {
        case 0: word = step; return (b & c) | (~b & d);
        case 1: word = (5 * step + 1) % 16; return (b & d) | (c & ~d);
        case 2: word = (3 * step + 5) % 16; return b ^ c ^ d;
        default: word = (7 * step) % 16; return c ^ (b | ~d);
    }
}

}  // namespace

Md5Hex::Md5Hex() { Reset(); }

void Md5Hex::Reset() {
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
    m_length = 0;
}

void Md5Hex::Transform(const uint8_t* block) {
    uint32_t words[16];
    for (unsigned i = 0; i < 16; ++i) words[i] = LoadLittleEndian(block + 4 * i);
    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (unsigned step = 0; step < 64; ++step) {
        unsigned word = 0;
        const uint32_t mixed = a + RoundFunction(step, b, c, d, word) + kSine[step] + words[word];
        a = d;
        d = c;
        c = b;
        b += RotateLeft(mixed, kShift[step / 16][step % 4]);
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void Md5Hex::Update(std::string_view bytes) {
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
    size_t size = bytes.size();
    size_t used = static_cast<size_t>(m_length % 64);
    m_length += size;
    while (size > 0) {
        if (used == 0 && size >= 64) {
            Transform(data);
            data += 64;
            size -= 64;
            continue;
        }
        const size_t take = size < 64 - used ? size : 64 - used;
        std::memcpy(m_buffer + used, data, take);
        used += take;
        data += take;
        size -= take;
        if (used == 64) {
            Transform(m_buffer);
            used = 0;
        }
    }
}

std::string Md5Hex::Finish() {
    if (m_length == 0) {
        Reset();
        return std::string(32, ' ');
    }
    const uint64_t bits = m_length * 8;
    const size_t used = static_cast<size_t>(m_length % 64);
    uint8_t padding[72] = {0x80};
    const size_t padSize = (used < 56 ? 56 : 120) - used;
    for (unsigned i = 0; i < 8; ++i) padding[padSize + i] = static_cast<uint8_t>(bits >> (8 * i));
    Update(std::string_view(reinterpret_cast<const char*>(padding), padSize + 8));
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(32);
    for (uint32_t word : m_state) {
        for (unsigned i = 0; i < 4; ++i) {
            const unsigned byte = (word >> (8 * i)) & 0xff;
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 0xf];
        }
    }
    Reset();
    return hex;
}

std::string Md5Hex::Of(std::string_view bytes) {
    Md5Hex digest;
    digest.Update(bytes);
    return digest.Finish();
}

}  // namespace platform
