#include "container/ModelFile.h"

#include <zlib.h>

#include <cstring>
#include <utility>
#include <vector>

#include "platform/FileAccess.h"

namespace container {
namespace {

constexpr size_t kChunkSize = 131072;

}  // namespace

bool IsZipFile(const std::string& path) {
    std::string head;
    int error = 0;
    const platform::HeadResult result = platform::ReadFileHead(path, 2, head, error);
    if (result == platform::HeadResult::kCannotOpen) platform::ReportFileError(path, error);
    if (result != platform::HeadResult::kRead) return false;
    return head[0] == 'P' && head[1] == 'K';
}

std::string InflateModelText(std::string compressed, platform::LoadBudget& budget) {
    std::string text;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return text;
    // The buffer is the file plus one zero byte, as the file was read.
    std::string& input = compressed;
    input.push_back('\0');
    stream.next_in = reinterpret_cast<Bytef*>(&input[0]);
    stream.avail_in = static_cast<uInt>(input.size());
    std::vector<unsigned char> chunk(kChunkSize);  // off the caller's stack
    for (;;) {
        stream.next_out = chunk.data();
        stream.avail_out = kChunkSize;
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result == Z_NEED_DICT || result == Z_STREAM_ERROR || result == Z_DATA_ERROR || result == Z_MEM_ERROR) break;
        const size_t produced = kChunkSize - stream.avail_out;
        if (!budget.Inflate(produced) || !budget.Reserve(produced)) {
            budget.Release(text.size());
            std::string().swap(text);
            break;
        }
        text.append(reinterpret_cast<const char*>(chunk.data()), produced);
        if (produced < kChunkSize || result != Z_OK) break;
    }
    inflateEnd(&stream);
    return text;
}

bool ReadModelFile(const std::string& path, bool compressed, std::string& text, platform::LoadBudget& budget) {
    text.clear();
    std::string bytes;
    int error = 0;
    if (!platform::ReadWholeFile(path, bytes, error, budget)) {
        platform::ReportFileError(path, error);
        return false;
    }
    if (compressed) {
        text = InflateModelText(std::move(bytes), budget);
    } else {
        bytes.resize(std::strlen(bytes.c_str()));
        text.swap(bytes);
    }
    return true;
}

}  // namespace container
