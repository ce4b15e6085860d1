// The decoder plug-in loaded at run time, and the readers it creates.
//
// cvdr reaches the decoder only through the library's two exports and the
// virtual interfaces of DisturbanceDataReader.h, as a record viewer does.
#ifndef CVDR_PLUGIN_LOADER_H
#define CVDR_PLUGIN_LOADER_H

#include <memory>
#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"

namespace cvdr {

class Plugin;

// Owns one reader: hands it back to the plug-in's free call when destroyed
// and keeps the plug-in loaded until then. An empty handle owns nothing.
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

private:
    void Release() noexcept;

    std::shared_ptr<const Plugin> m_plugin;
    DisturbanceDataReader* m_reader = nullptr;
    FreeDisturbanceDataReaderInstanceFn m_free = nullptr;
};

// A loaded plug-in library (dlopen with RTLD_NOW | RTLD_LOCAL), unloaded when
// the last owner lets go of it.
class Plugin : public std::enable_shared_from_this<Plugin> {
public:
    // Loads the library at `path` and resolves both exports. On failure
    // returns null and stores a one-line reason in `error`.
    static std::shared_ptr<Plugin> Load(const std::string& path, std::string& error);

    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Runs the create call for a record; an empty handle when it returns false.
    ReaderHandle Open(const std::wstring& path, const std::string& language,
                      const std::wstring& options) const;

private:
    Plugin(void* library, CreateDisturbanceDataReaderInstanceFn create,
           FreeDisturbanceDataReaderInstanceFn freeReader) noexcept
        : m_library(library), m_create(create), m_free(freeReader) {}

    void* m_library;
    CreateDisturbanceDataReaderInstanceFn m_create;
    FreeDisturbanceDataReaderInstanceFn m_free;
};

}  // namespace cvdr

#endif
