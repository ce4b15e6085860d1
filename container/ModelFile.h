// Reading device-model and language files from the device-models folder:
// plain text, or a zlib stream (files whose extension ends in "_c").
#ifndef DR_MVQ4_CONTAINER_MODEL_FILE_H
#define DR_MVQ4_CONTAINER_MODEL_FILE_H

#include <cstdint>
#include <string>

namespace container {

// Largest text a compressed model file may inflate to (1 GiB); inflation
// stops there and keeps what it produced.
constexpr uint64_t kMaxInflatedModelSize = uint64_t{1} << 30;

// Whether the file starts with "PK" (a device container). A file that cannot
// be opened is reported through the file-error message and gives false.
bool IsZipFile(const std::string& path);

// The text of a model or language file: the bytes up to the first NUL, or
// for a compressed file its inflated content. A file that cannot be opened
// is reported through the file-error message; `text` is then left empty.
bool ReadModelFile(const std::string& path, bool compressed, std::string& text);

// Inflates a zlib stream in chunks of 128 KiB, stopping at the first chunk
// that is not filled, at an error, or at `limit` bytes of output. Returns
// what was produced.
std::string InflateModelText(const std::string& compressed, uint64_t limit = kMaxInflatedModelSize);

}  // namespace container

#endif
