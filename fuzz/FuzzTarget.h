// The entry point every fuzz target defines, as libFuzzer calls it.
#ifndef DR_MVQ4_FUZZ_FUZZ_TARGET_H
#define DR_MVQ4_FUZZ_FUZZ_TARGET_H

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

#endif
