// MD5 message digest (RFC 1321) in the form containers store it: 32 lowercase
// hexadecimal digits, high nibble first. No data at all gives 32 blanks
// instead of the digest of the empty input. Not thread-safe; one object per
// digest.
#ifndef DR_MVQ4_PLATFORM_MD5_HEX_H
#define DR_MVQ4_PLATFORM_MD5_HEX_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class Md5Hex {
public:
    Md5Hex();

    // Adds bytes to the digest; any number of calls, any sizes.
    void Update(std::string_view bytes);
    // The digest of everything added since construction or the last Finish,
    // or 32 blanks when nothing (or only empty text) was added. The object is
    // then ready for a new digest.
    std::string Finish();

    // Digest of one byte range.
    static std::string Of(std::string_view bytes);

private:
    void Reset();
    void Transform(const uint8_t* block);

    uint32_t m_state[4];
    uint64_t m_length;      // bytes added so far
    uint8_t m_buffer[64];   // the incomplete block; m_length % 64 bytes used
};

}  // namespace platform

#endif
