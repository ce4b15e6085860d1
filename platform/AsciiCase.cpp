#include "platform/AsciiCase.h"

namespace platform {
namespace {

template <typename Text>
Text AsciiUpperOf(typename Text::value_type const* begin, size_t size) {
    Text out(begin, size);
    for (auto& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<typename Text::value_type>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

std::wstring AsciiUpper(std::wstring_view text) { return AsciiUpperOf<std::wstring>(text.data(), text.size()); }

std::string AsciiUpper(std::string_view text) { return AsciiUpperOf<std::string>(text.data(), text.size()); }

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

std::wstring_view Trim(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace platform
