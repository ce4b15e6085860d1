#include "host/ReaderHandle.h"

#include <utility>

namespace host {

ReaderHandle::ReaderHandle(std::shared_ptr<const Plugin> plugin, DisturbanceDataReader* reader,
                           FreeDisturbanceDataReaderInstanceFn freeReader) noexcept
    : m_plugin(std::move(plugin)), m_reader(reader), m_free(freeReader) {}

ReaderHandle::~ReaderHandle() { Reset(); }

ReaderHandle::ReaderHandle(ReaderHandle&& other) noexcept
    : m_plugin(std::move(other.m_plugin)),
      m_reader(std::exchange(other.m_reader, nullptr)),
      m_free(std::exchange(other.m_free, nullptr)) {}

ReaderHandle& ReaderHandle::operator=(ReaderHandle&& other) noexcept {
    if (this != &other) {
        Reset();
        m_plugin = std::move(other.m_plugin);
        m_reader = std::exchange(other.m_reader, nullptr);
        m_free = std::exchange(other.m_free, nullptr);
    }
    return *this;
}

// Frees the reader before the plug-in reference goes: the free call lives in
// the library.
void ReaderHandle::Reset() noexcept {
    if (m_reader != nullptr && m_free != nullptr) m_free(m_reader);
    m_reader = nullptr;
    m_plugin.reset();
}

}  // namespace host
