#include "platform/RegistryFile.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/FileAccess.h"
#include "platform/TextConversion.h"

namespace platform {
namespace {

using Text = std::wstring_view;

constexpr Text kCurrentUserRoot = L"HKEY_CURRENT_USER";


bool StartsWithIgnoringCase(Text text, Text prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// `text` is one to `maxDigits` hex digits and nothing else.
bool ParseHexNumber(Text text, size_t maxDigits, uint32_t& value) {
    if (text.empty() || text.size() > maxDigits) return false;
    value = 0;
    for (wchar_t c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return true;
}

// Comma-separated bytes of one or two hex digits; blanks around a byte and a
// comma after the last byte are allowed.
bool ParseHexBytes(Text text, std::vector<uint8_t>& bytes) {
    text = Trim(text);
    while (!text.empty()) {
        const size_t comma = text.find(L',');
        uint32_t byte = 0;
        if (!ParseHexNumber(Trim(text.substr(0, comma)), 2, byte)) return false;
        bytes.push_back(static_cast<uint8_t>(byte));
        if (comma == Text::npos) break;
        text = Trim(text.substr(comma + 1));
    }
    return true;
}

// Reads the quoted text at the start of `text`, where \\ and \" stand for
// \ and "; any other backslash is kept as written. On success `text` is left
// just after the closing quote.
bool ParseQuoted(Text& text, std::wstring& out) {
    if (text.empty() || text.front() != L'"') return false;
    out.clear();
    for (size_t k = 1; k < text.size(); ++k) {
        const wchar_t c = text[k];
        if (c == L'"') {
            text.remove_prefix(k + 1);
            return true;
        }
        if (c == L'\\' && k + 1 < text.size() && (text[k + 1] == L'\\' || text[k + 1] == L'"')) ++k;
        out.push_back(text[k]);
    }
    return false;
}

// The data after "hex": "(N)" with the type in hex digits, or nothing for
// binary data, then ':' and the bytes.
bool ParseHexData(Text text, RegistryValue& value) {
    uint32_t type = kRegBinary;
    if (!text.empty() && text.front() == L'(') {
        const size_t close = text.find(L')');
        if (close == Text::npos || !ParseHexNumber(text.substr(1, close - 1), 8, type)) return false;
        text.remove_prefix(close + 1);
    }
    std::vector<uint8_t> bytes;
    if (text.empty() || text.front() != L':' || !ParseHexBytes(text.substr(1), bytes)) return false;
    value.type = type;
    value.data.swap(bytes);
    return true;
}

// The data after '=': a quoted text, dword:XXXXXXXX or hex data. Text is
// stored as Windows stores it: UTF-16LE with a terminating NUL unit.
bool ParseData(Text data, RegistryValue& value) {
    std::wstring text;
    if (ParseQuoted(data, text)) {
        if (!Trim(data).empty()) return false;
        const std::string bytes = WideToUtf16Le(text);
        value.type = kRegSz;
        value.data.assign(bytes.begin(), bytes.end());
        value.data.insert(value.data.end(), 2, 0);
        return true;
    }
    uint32_t number = 0;
    if (StartsWithIgnoringCase(data, L"dword:") && ParseHexNumber(data.substr(6), 8, number)) {
        value.type = kRegDword;
        value.data = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                      static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
        return true;
    }
    return StartsWithIgnoringCase(data, L"hex") && ParseHexData(data.substr(3), value);
}

// Splits `"name"=data` or `@=data`; the default value's name is "".
bool SplitValueLine(Text line, std::wstring& name, Text& data) {
    if (line.front() == L'@') {
        name.clear();
        line.remove_prefix(1);
    } else if (!ParseQuoted(line, name)) {
        return false;
    }
    line = Trim(line);
    if (line.empty() || line.front() != L'=') return false;
    data = Trim(line.substr(1));
    return true;
}

}  // namespace

// Upper-cases a backslash-separated key path and drops backslashes at either
// end; false when a name between two backslashes is empty.
bool NormalizeKeyPath(std::wstring_view path, std::wstring& out) {
    while (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    if (path.find(L"\\\\") != std::wstring_view::npos) return false;
    out = AsciiUpper(path);
    return true;
}

namespace {


// Yields the lines of the file as wide text, without line ends.
class LineReader {
public:
    LineReader(std::string_view bytes, bool utf16) : m_bytes(bytes), m_utf16(utf16) {}

    bool Next(std::wstring& line) {
        if (m_pos >= m_bytes.size()) return false;
        const size_t end = FindLineEnd();
        const std::string_view raw = m_bytes.substr(m_pos, end - m_pos);
        m_pos = end + (m_utf16 ? 2 : 1);
        line = m_utf16 ? Utf16LeToWide(reinterpret_cast<const uint8_t*>(raw.data()), raw.size())
                       : Utf8ToWide(raw);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        return true;
    }

private:
    size_t FindLineEnd() const {
        if (!m_utf16) return std::min(m_bytes.find('\n', m_pos), m_bytes.size());
        for (size_t k = m_pos; k + 1 < m_bytes.size(); k += 2) {
            if (m_bytes[k] == '\n' && m_bytes[k + 1] == '\0') return k;
        }
        return m_bytes.size();
    }

    std::string_view m_bytes;
    size_t m_pos = 0;
    bool m_utf16;
};

// Builds the hive line by line, in time linear in the file. A section names a
// key and, implicitly, the keys above it; those are added within an allowance
// of path characters in proportion to the file, so that a file of deep,
// distinct paths cannot parse into many times its own size. A section that
// would overrun it spends the rest: no new key is added after it, and sections
// that cannot fit are not measured again and again.
class HiveParser {
public:
    HiveParser(std::string_view bytes, bool utf16, size_t allowance)
        : m_reader(bytes, utf16), m_allowance(allowance) {}

    RegistryHive Run() {
        if (!ReadHeader()) return RegistryHive{};
        std::wstring line;
        while (m_reader.Next(line)) {
            const Text text = Trim(line);
            if (text.empty() || text.front() == L';') continue;
            if (text.front() == L'[') {
                SectionLine(text);
            } else if (text.front() == L'"' || text.front() == L'@') {
                ValueLine(text);
            }
        }
        return std::move(m_hive);
    }

private:
    bool ReadHeader() {
        std::wstring line;
        while (m_reader.Next(line)) {
            const Text text = Trim(line);
            if (!text.empty()) return text == L"Windows Registry Editor Version 5.00" || text == L"REGEDIT4";
        }
        return false;
    }

    // Values that follow belong to the section's key, or are dropped when the
    // section is malformed or lies under another root. A deletion section
    // "[-HKEY_...]" names no root and so is dropped with its values.
    void SectionLine(Text line) {
        m_current = nullptr;
        if (line.size() < 2 || line.back() != L']') return;
        const Text name = line.substr(1, line.size() - 2);
        const size_t separator = name.find(L'\\');
        if (!EqualsIgnoringAsciiCase(name.substr(0, separator), kCurrentUserRoot)) return;
        std::wstring path;
        if (separator != Text::npos && !NormalizeKeyPath(name.substr(separator + 1), path)) return;
        m_current = AddKey(path);
    }

    // Adds the key and any keys above it that are still missing; null when
    // that would overrun the allowance.
    RegistryValues* AddKey(const std::wstring& path) {
        std::vector<size_t> missing;  // lengths of the missing paths
        size_t cost = 0;
        for (size_t length = path.size(); length > 0;) {
            if (m_hive.keys.count(path.substr(0, length)) != 0) break;
            cost += length;
            if (cost > m_allowance) {
                m_allowance = 0;
                return nullptr;
            }
            missing.push_back(length);
            const size_t separator = path.rfind(L'\\', length - 1);
            length = separator == std::wstring::npos ? 0 : separator;
        }
        m_allowance -= cost;
        for (size_t length : missing) m_hive.keys.emplace(path.substr(0, length), RegistryValues{});
        return &m_hive.keys[path];
    }

    void ValueLine(Text line) {
        std::wstring name;
        Text data;
        if (!SplitValueLine(line, name, data)) return;
        std::wstring joined;
        if (StartsWithIgnoringCase(data, L"hex")) {
            joined = JoinContinuations(data);
            data = joined;
        }
        RegistryValue value;
        if (m_current != nullptr && data != L"-" && ParseData(data, value)) {
            (*m_current)[AsciiUpper(name)] = std::move(value);
        }
    }

    // Hex data goes on over the next lines while a line ends in a backslash;
    // the blanks that indent a continuation line are not part of the data.
    std::wstring JoinContinuations(Text first) {
        std::wstring joined(first);
        std::wstring next;
        while (!joined.empty() && joined.back() == L'\\') {
            joined.pop_back();
            if (!m_reader.Next(next)) break;
            joined += Trim(next);
        }
        return joined;
    }

    LineReader m_reader;
    size_t m_allowance;
    RegistryHive m_hive;
    RegistryValues* m_current = nullptr;
};

}  // namespace

RegistryHive ParseRegistryFile(const std::string& bytes) {
    try {
        std::string_view text(bytes);
        bool utf16 = false;
        if (text.substr(0, 2) == "\xFF\xFE") {
            utf16 = true;
            text.remove_prefix(2);
        } else if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        return HiveParser(text, utf16, 2 * bytes.size() + (size_t{1} << 20)).Run();
    } catch (...) {  // out of memory: as if the file were unreadable
        return RegistryHive{};
    }
}

bool ReadRegistryFile(const std::string& path, std::string& bytes, int& error) {
    LoadBudget cap(kMaxRegistryFileSize);
    return ReadWholeFile(path, bytes, error, cap);
}

std::string RegistryFilePath() {
    try {
        const char* own = std::getenv("DR_MVQ4_REGISTRY");
        if (own != nullptr && *own != '\0') return own;
        std::string folder;
        if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
            folder = config;
        } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
            folder = std::string(home) + "/.config";
        } else {
            return std::string();  // no home folder: no file, no keys
        }
        return folder + "/dr_mvq4/registry.reg";
    } catch (...) {
        return std::string();
    }
}

}  // namespace platform
