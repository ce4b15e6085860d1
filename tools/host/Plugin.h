// The decoder plug-in loaded at run time, as a record viewer loads it: the
// library's two exports and the virtual interfaces of DisturbanceDataReader.h
// are all the host library uses of it.
//
// Ownership, for everything in host/: a Plugin is shared (std::shared_ptr)
// and unloaded when its last owner lets go of it. A ReaderHandle owns one
// reader and a share of its plug-in; the reader and every pointer it hands
// out (channels, texts, iterators) live until the handle is destroyed or
// reset, which hands the reader to the plug-in's free call. A Record
// (Record.h) is a copy that owns all its data and points into nothing: it
// outlives the reader and the plug-in. Nothing here is thread-safe.
#ifndef DR_MVQ4_HOST_PLUGIN_H
#define DR_MVQ4_HOST_PLUGIN_H

#include <memory>
#include <string>

#include "dr_mvq4/DisturbanceDataReader.h"
#include "host/ReaderHandle.h"

namespace host {

// What the create call is given. The file and the option string are UTF-8
// and reach the plug-in as wide text; the language code is passed on as it is.
struct RecordSource {
    std::string file;
    std::string language = "ENG";
    std::string options;
};

class Plugin : public std::enable_shared_from_this<Plugin> {
public:
    // Loads the library at `path` (dlopen with RTLD_NOW | RTLD_LOCAL) and
    // resolves both exports. On failure returns null and stores a one-line
    // reason in `error`.
    static std::shared_ptr<Plugin> Load(const std::string& path, std::string& error);

    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Runs the create call; an empty handle when the plug-in refuses the record.
    ReaderHandle Open(const RecordSource& source) const;

private:
    Plugin(void* library, CreateDisturbanceDataReaderInstanceFn create,
           FreeDisturbanceDataReaderInstanceFn freeReader) noexcept
        : m_library(library), m_create(create), m_free(freeReader) {}

    void* m_library;
    CreateDisturbanceDataReaderInstanceFn m_create;
    FreeDisturbanceDataReaderInstanceFn m_free;
};

}  // namespace host

#endif
