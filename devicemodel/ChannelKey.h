// The channel key: the signed decimal text of a 32-bit hash over the bytes of
// a device-model element's relative path ("/Prot/IL1"). Records refer to
// model elements by these keys (analog ids, unit ids, state-image ids).
//
// The hash runs left to right over the bytes, so a path walk can extend the
// hash of a parent's path by the child's segment instead of hashing the whole
// path again.
#ifndef DR_MVQ4_DEVICEMODEL_CHANNEL_KEY_H
#define DR_MVQ4_DEVICEMODEL_CHANNEL_KEY_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace devicemodel {

class KeyHasher {
public:
    // Adds bytes to the hashed text; Append("/a") then Append("/b") gives the
    // same value as Append("/a/b").
    void Append(std::string_view bytes);
    // The key value of everything appended (0 for nothing). A hash with all
    // 32 bits set is reported as -2.
    int32_t Value() const;
    size_t Length() const { return m_length; }

private:
    uint32_t m_hash = 0;
    size_t m_length = 0;
};

// The key value of `path`.
int32_t ChannelKeyValue(std::string_view path);
// The key text of `path`: the value in decimal, "-" for negative values.
std::string ChannelKey(std::string_view path);

}  // namespace devicemodel

#endif
