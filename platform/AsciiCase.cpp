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

}  // namespace platform
