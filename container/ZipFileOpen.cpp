#include "container/ZipFileOpen.h"

#include <memory>

#include "platform/SystemFile.h"
#include "platform/TextConversion.h"

namespace container {
namespace {

// The stream the unzip API hands back to each function.
struct ZipStream {
    platform::SystemFile file;
    uint64_t position = 0;
    bool failed = false;
};

ZipStream& Stream(voidpf stream) { return *static_cast<ZipStream*>(stream); }

voidpf ZCALLBACK OpenStream(voidpf, const void* path, int mode) {
    if (path == nullptr || (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    try {
        auto stream = std::make_unique<ZipStream>();
        int error = 0;
        if (!stream->file.Open(static_cast<const char*>(path), error)) return nullptr;
        return stream.release();
    } catch (...) {  // out of memory
        return nullptr;
    }
}

uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* buffer, uLong size) {
    ZipStream& zip = Stream(stream);
    size_t got = 0;
    int error = 0;
    if (!zip.file.Read(static_cast<char*>(buffer), size, got, error)) zip.failed = true;
    zip.position += got;
    return static_cast<uLong>(got);
}

uLong ZCALLBACK WriteStream(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK TellStream(voidpf, voidpf stream) { return Stream(stream).position; }

long ZCALLBACK SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    ZipStream& zip = Stream(stream);
    uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = zip.position;
    if (origin == ZLIB_FILEFUNC_SEEK_END) base = zip.file.Size();
    if (base + offset < base || !zip.file.Seek(base + offset)) return -1;
    zip.position = base + offset;
    return 0;
}

int ZCALLBACK CloseStream(voidpf, voidpf stream) {
    delete static_cast<ZipStream*>(stream);
    return 0;
}

int ZCALLBACK StreamError(voidpf, voidpf stream) { return Stream(stream).failed ? 1 : 0; }

}  // namespace

unzFile OpenZipFile(const std::wstring& path) {
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenStream;
    functions.zread_file = ReadStream;
    functions.zwrite_file = WriteStream;
    functions.ztell64_file = TellStream;
    functions.zseek64_file = SeekStream;
    functions.zclose_file = CloseStream;
    functions.zerror_file = StreamError;
    return unzOpen2_64(platform::WideToUtf8(path).c_str(), &functions);
}

}  // namespace container
