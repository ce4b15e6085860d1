#include "host/Plugin.h"

#include <dlfcn.h>

#include <cstring>

#include "platform/TextConversion.h"

namespace host {
namespace {

// Text of the last dynamic-linker error, or `fallback` when there is none.
std::string LinkerError(const char* fallback) {
    const char* text = dlerror();
    return text != nullptr ? text : fallback;
}

// Looks up an exported function; null when the library lacks it.
template <typename Function>
Function ResolveExport(void* library, const char* name) {
    dlerror();
    void* symbol = dlsym(library, name);
    if (symbol == nullptr) return nullptr;
    Function function;
    static_assert(sizeof(function) == sizeof(symbol), "function and object pointers differ in size");
    std::memcpy(&function, &symbol, sizeof(function));
    return function;
}

}  // namespace

std::shared_ptr<Plugin> Plugin::Load(const std::string& path, std::string& error) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::string reason = LinkerError("unknown reason");
        if (reason.compare(0, path.size(), path) != 0) reason = path + ": " + reason;
        error = "cannot load the plug-in: " + reason;
        return nullptr;
    }
    const auto create =
        ResolveExport<CreateDisturbanceDataReaderInstanceFn>(library, "CreateDisturbanceDataReaderInstance");
    const auto freeReader =
        ResolveExport<FreeDisturbanceDataReaderInstanceFn>(library, "FreeDisturbanceDataReaderInstance");
    if (create == nullptr || freeReader == nullptr) {
        error = "the plug-in " + path + " lacks the reader exports";
        dlclose(library);
        return nullptr;
    }
    return std::shared_ptr<Plugin>(new Plugin(library, create, freeReader));
}

Plugin::~Plugin() { dlclose(m_library); }

ReaderHandle Plugin::Open(const RecordSource& source) const {
    const std::wstring file = platform::Utf8ToWide(source.file);
    const std::wstring options = platform::Utf8ToWide(source.options);
    DisturbanceDataReader* reader = nullptr;
    if (!m_create(&reader, file.c_str(), source.language.c_str(), options.c_str()) || reader == nullptr)
        return {};
    return ReaderHandle(shared_from_this(), reader, m_free);
}

}  // namespace host
