// The floor of a record container's load: open the archive once, inflate
// each entry once into a buffer of its stated size, digest each entry once
// (MD5), then parse the "RecorderData" entry in place and convert every
// sample (LoadFloor.h). Prints the sample count.
//
//   container_floor RECORD.zip
#include <unzip.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "LoadFloor.h"
#include "platform/Md5Hex.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: container_floor RECORD\n");
        return 2;
    }
    unzFile archive = unzOpen64(argv[1]);
    if (archive == nullptr) return 1;
    std::unique_ptr<char[]> record;
    size_t recordSize = 0;
    size_t digests = 0;
    for (int status = unzGoToFirstFile(archive); status == UNZ_OK; status = unzGoToNextFile(archive)) {
        unz_file_info64 info{};
        char name[256];
        if (unzGetCurrentFileInfo64(archive, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(archive) != UNZ_OK) {
            return 1;
        }
        const size_t size = static_cast<size_t>(info.uncompressed_size);
        std::unique_ptr<char[]> text(new char[size + 1]);
        const int got = unzReadCurrentFile(archive, text.get(), static_cast<unsigned>(size));
        if (got < 0 || unzCloseCurrentFile(archive) != UNZ_OK) return 1;
        digests += platform::Md5Hex::Of(std::string_view(text.get(), static_cast<size_t>(got))).size();
        if (std::strcmp(name, "RecorderData") == 0) {
            record = std::move(text);
            recordSize = static_cast<size_t>(got);
        }
    }
    unzClose(archive);
    int64_t checksum = 0;
    const int64_t samples = bench::ParseAndConvert(record.get(), recordSize, checksum);
    std::printf("%lld samples, checksum %lld, %zu digest bytes\n", static_cast<long long>(samples),
                static_cast<long long>(checksum), digests);
    return samples < 0 ? 1 : 0;
}
