// Reading device-model and language files from the device-models folder:
// plain text, or a zlib stream (files whose extension ends in "_c").
#ifndef DR_MVQ4_CONTAINER_MODEL_FILE_H
#define DR_MVQ4_CONTAINER_MODEL_FILE_H

#include <cstdint>
#include <string>

#include "platform/LoadBudget.h"

namespace container {

// Whether the file starts with "PK" (a device container). A file that cannot
// be opened is reported through the file-error message and gives false.
bool IsZipFile(const std::string& path);

// The text of a model or language file: the bytes up to the first NUL, or
// for a compressed file its inflated content. The file and what it inflates
// to are reserved in `budget`. A file that cannot be opened or is larger than
// the budget allows is reported through the file-error message; `text` is
// then left empty, as it is when the inflated text is over the budget.
bool ReadModelFile(const std::string& path, bool compressed, std::string& text, platform::LoadBudget& budget);

// Inflates a zlib stream in chunks of 128 KiB, stopping at the first chunk
// that is not filled or at an error. Returns what was produced; nothing when
// `budget` refuses a chunk.
std::string InflateModelText(std::string compressed, platform::LoadBudget& budget);

}  // namespace container

#endif
