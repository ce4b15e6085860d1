// The floor of a plain record's load: read the file, parse it in place,
// convert every sample (LoadFloor.h). Prints the sample count.
//
//   plain_floor RECORD.xml
#include <cstdio>
#include <memory>

#include "LoadFloor.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: plain_floor RECORD\n");
        return 2;
    }
    std::FILE* file = std::fopen(argv[1], "rb");
    if (file == nullptr || std::fseek(file, 0, SEEK_END) != 0) return 1;
    const long size = std::ftell(file);
    std::rewind(file);
    if (size <= 0) return 1;
    const std::unique_ptr<char[]> text(new char[static_cast<size_t>(size)]);
    const size_t got = std::fread(text.get(), 1, static_cast<size_t>(size), file);
    std::fclose(file);
    int64_t checksum = 0;
    const int64_t samples = bench::ParseAndConvert(text.get(), got, checksum);
    std::printf("%lld samples, checksum %lld\n", static_cast<long long>(samples), static_cast<long long>(checksum));
    return samples < 0 ? 1 : 0;
}
