#include "platform/TextConversion.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

namespace platform {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The system's conversions count in int.
int Count(size_t size) {
    if (size > static_cast<size_t>(INT_MAX)) throw std::length_error("text too long to convert");
    return static_cast<int>(size);
}

std::wstring Decode(UINT codePage, std::string_view text) {
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(codePage, 0, text.data(), Count(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    if (size > 0) MultiByteToWideChar(codePage, 0, text.data(), Count(text.size()), &out[0], size);
    return out;
}

std::string Encode(UINT codePage, DWORD flags, std::wstring_view text) {
    if (text.empty()) return std::string();
    const int size =
        WideCharToMultiByte(codePage, flags, text.data(), Count(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    if (size > 0) {
        WideCharToMultiByte(codePage, flags, text.data(), Count(text.size()), &out[0], size, nullptr, nullptr);
    }
    return out;
}

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Surrogate pairs stay; a surrogate without its partner becomes U+FFFD.
void ReplaceLoneSurrogates(std::wstring& text) {
    for (size_t k = 0; k < text.size(); ++k) {
        if (IsHighSurrogate(text[k]) && k + 1 < text.size() && IsLowSurrogate(text[k + 1])) {
            ++k;
        } else if (IsHighSurrogate(text[k]) || IsLowSurrogate(text[k])) {
            text[k] = kReplacement;
        }
    }
}

}  // namespace

std::string WideToUtf8(std::wstring_view text) { return Encode(CP_UTF8, 0, text); }

std::wstring Utf8ToWide(std::string_view text) { return Decode(CP_UTF8, text); }

bool IsWellFormedUtf8(std::string_view text) {
    return text.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), Count(text.size()),
                                               nullptr, 0) > 0;
}

std::wstring AnsiToWide(std::string_view text) { return Decode(CP_ACP, text); }

std::string WideToAnsi(std::wstring_view text) { return Encode(CP_ACP, WC_NO_BEST_FIT_CHARS, text); }

std::wstring Utf16LeToWide(const uint8_t* bytes, size_t size) {
    std::wstring out(size / 2, L'\0');
    for (size_t k = 0; k < out.size(); ++k) out[k] = static_cast<wchar_t>(bytes[2 * k] | (bytes[2 * k + 1] << 8));
    ReplaceLoneSurrogates(out);
    return out;
}

std::string WideToUtf16Le(std::wstring_view text) {
    std::wstring units(text);
    ReplaceLoneSurrogates(units);
    std::string out;
    out.reserve(2 * units.size());
    for (wchar_t unit : units) {
        out.push_back(static_cast<char>(unit & 0xFF));
        out.push_back(static_cast<char>((unit >> 8) & 0xFF));
    }
    return out;
}

}  // namespace platform
