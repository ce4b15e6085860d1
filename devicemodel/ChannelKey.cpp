#include "devicemodel/ChannelKey.h"

namespace devicemodel {

namespace {

constexpr uint32_t kMultiplier = 1000003u;

}  // namespace

void KeyHasher::Append(std::string_view bytes) {
    if (bytes.empty()) return;
    if (m_length == 0) m_hash = uint32_t{static_cast<unsigned char>(bytes.front())} << 7;
    for (const char c : bytes) m_hash = (m_hash * kMultiplier) ^ static_cast<unsigned char>(c);
    m_length += bytes.size();
}

int32_t KeyHasher::Value() const {
    uint32_t hash = m_hash ^ static_cast<uint32_t>(m_length);
    if (hash == UINT32_MAX) hash = UINT32_MAX - 1;
    return static_cast<int32_t>(hash);
}

int32_t ChannelKeyValue(std::string_view path) {
    KeyHasher hasher;
    hasher.Append(path);
    return hasher.Value();
}

std::string ChannelKey(std::string_view path) { return std::to_string(ChannelKeyValue(path)); }

}  // namespace devicemodel
