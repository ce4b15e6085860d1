// One reader created by the plug-in, owned until it goes back to the
// plug-in's free call (see Plugin.h for how long what lives).
#ifndef DR_MVQ4_HOST_READER_HANDLE_H
#define DR_MVQ4_HOST_READER_HANDLE_H

#include <memory>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace host {

class Plugin;

// Frees its reader when destroyed and keeps the plug-in loaded until then.
// An empty handle owns nothing.
class ReaderHandle {
public:
    ReaderHandle() = default;
    ReaderHandle(std::shared_ptr<const Plugin> plugin, DisturbanceDataReader* reader,
                 FreeDisturbanceDataReaderInstanceFn freeReader) noexcept;
    ~ReaderHandle();
    ReaderHandle(ReaderHandle&& other) noexcept;
    ReaderHandle& operator=(ReaderHandle&& other) noexcept;
    ReaderHandle(const ReaderHandle&) = delete;
    ReaderHandle& operator=(const ReaderHandle&) = delete;

    explicit operator bool() const { return m_reader != nullptr; }
    DisturbanceDataReader& operator*() const { return *m_reader; }
    DisturbanceDataReader* operator->() const { return m_reader; }

    // Frees the reader now; the handle is empty afterwards.
    void Reset() noexcept;

private:
    std::shared_ptr<const Plugin> m_plugin;
    DisturbanceDataReader* m_reader = nullptr;
    FreeDisturbanceDataReaderInstanceFn m_free = nullptr;
};

}  // namespace host

#endif
