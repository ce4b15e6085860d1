// Number parsing with the C runtime's atoi / _atoi64 / atof rules, without
// locale dependence and without allocation: leading white space is skipped,
// an optional sign is taken, then the longest number prefix; text without a
// number gives 0. Integers that overflow clamp to the type's limits.
#ifndef DR_MVQ4_PLATFORM_NUMBER_PARSING_H
#define DR_MVQ4_PLATFORM_NUMBER_PARSING_H

#include <cstdint>
#include <string_view>

namespace platform {

// _atoi64: clamps to the signed 64-bit range.
int64_t ParseInt64(std::string_view text);
// atoi / atol: clamps to the signed 32-bit range.
int32_t ParseInt32(std::string_view text);
// The low 32 bits of ParseInt64 (values that records store as 32 bits after a
// 64-bit parse).
int32_t ParseLow32(std::string_view text);
// atof: decimal or hexadecimal ("0x") reals, "inf", "infinity", "nan";
// overflow gives +-infinity, underflow 0.
double ParseReal(std::string_view text);

}  // namespace platform

#endif
