#include "config/SettingsFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "formats/OutputFile.h"
#include "platform/TextConversion.h"

namespace cvdr {
namespace {

using platform::AsciiUpper;
using WideView = std::wstring_view;

constexpr const char* kUtf16Mark = "\xFF\xFE";
constexpr const char* kUtf8Mark = "\xEF\xBB\xBF";

std::wstring Utf16Text(std::string_view bytes) {
    return platform::Utf16LeToWide(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

bool IsHeader(WideView line) {
    return line == L"Windows Registry Editor Version 5.00" || line == L"REGEDIT4";
}

// The settings key's section line: "[HKEY_CURRENT_USER\<path>]" with the root
// and path compared without regard to ASCII case and backslashes at either
// end of the path ignored, as the plug-in's reader does.
bool IsSettingsSection(WideView line) {
    if (line.size() < 2 || line.front() != L'[' || line.back() != L']') return false;
    WideView name = line.substr(1, line.size() - 2);
    const size_t separator = name.find(L'\\');
    if (separator == WideView::npos || AsciiUpper(name.substr(0, separator)) != L"HKEY_CURRENT_USER")
        return false;
    WideView path = name.substr(separator + 1);
    while (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    const WideView section(kSettingsSection);
    const WideView wanted = section.substr(section.find(L'\\') + 1);
    return AsciiUpper(path) == AsciiUpper(wanted);
}

// The name of a value line ("name"=...), with \\ and \" read as \ and ";
// false for any other line.
bool ValueName(WideView line, std::wstring& name, WideView& data) {
    if (line.empty() || line.front() != L'"') return false;
    name.clear();
    for (size_t k = 1; k < line.size(); ++k) {
        if (line[k] == L'"') {
            data = platform::Trim(line.substr(k + 1));
            if (data.empty() || data.front() != L'=') return false;
            data = platform::Trim(data.substr(1));
            return true;
        }
        if (line[k] == L'\\' && k + 1 < line.size() && (line[k + 1] == L'\\' || line[k + 1] == L'"')) ++k;
        name.push_back(line[k]);
    }
    return false;
}

std::wstring Quoted(WideView text) {
    std::wstring quoted = L"\"";
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'"') quoted.push_back(L'\\');
        quoted.push_back(c);
    }
    return quoted + L"\"";
}

}  // namespace

SettingsFile SettingsFile::Create() {
    SettingsFile file;
    file.m_encoding = Encoding::kUtf16Le;
    file.m_lineEnd = std::string("\r\0\n\0", 4);
    file.m_lines.push_back(file.MakeLine(L"Windows Registry Editor Version 5.00", file.m_lineEnd));
    file.m_lines.push_back(file.MakeLine(L"", file.m_lineEnd));
    return file;
}

namespace {

// Splits text in the file's encoding into lines and their line ends.
template <typename AddLine>
void SplitLines(std::string_view body, bool utf16, AddLine add) {
    const size_t unit = utf16 ? 2 : 1;
    size_t start = 0;
    for (size_t k = 0; k + unit <= body.size(); k += unit) {
        const bool feed = body[k] == '\n' && (!utf16 || body[k + 1] == '\0');
        if (!feed) continue;
        size_t lineEnd = k;
        if (lineEnd >= start + unit && body[lineEnd - unit] == '\r' &&
            (!utf16 || body[lineEnd - 1] == '\0')) {
            lineEnd -= unit;
        }
        add(body.substr(start, lineEnd - start), body.substr(lineEnd, k + unit - lineEnd));
        start = k + unit;
    }
    if (start < body.size()) add(body.substr(start), std::string_view());
}

}  // namespace

SettingsFile SettingsFile::Parse(const std::string& bytes) {
    SettingsFile file;
    std::string_view body(bytes);
    if (body.substr(0, 2) == kUtf16Mark) {
        file.m_encoding = Encoding::kUtf16Le;
        body.remove_prefix(2);
    } else if (body.substr(0, 3) == kUtf8Mark) {
        file.m_encoding = Encoding::kUtf8WithMark;
        body.remove_prefix(3);
    } else {
        file.m_encoding = Encoding::kUtf8;
    }
    const bool utf16 = file.m_encoding == Encoding::kUtf16Le;
    SplitLines(body, utf16, [&](std::string_view raw, std::string_view end) {
        file.m_lines.push_back(
            {std::string(raw), std::string(end), utf16 ? Utf16Text(raw) : platform::Utf8ToWide(raw)});
        if (file.m_lineEnd.empty()) file.m_lineEnd = std::string(end);
    });
    if (file.m_lineEnd.empty()) file.m_lineEnd = utf16 ? std::string("\r\0\n\0", 4) : "\r\n";
    for (const Line& line : file.m_lines) {
        const WideView text = platform::Trim(line.text);
        if (text.empty()) continue;
        if (!IsHeader(text))
            throw std::runtime_error("not a registry file: the first line is not a regedit header");
        return file;
    }
    return Create();
}

SettingsFile::Line SettingsFile::MakeLine(const std::wstring& text, const std::string& end) const {
    const std::string raw =
        m_encoding == Encoding::kUtf16Le ? platform::WideToUtf16Le(text) : platform::WideToUtf8(text);
    return {raw, end, text};
}

// Past the line that defines a value: hex data goes on over the next lines
// while a line ends in a backslash.
size_t SettingsFile::DefinitionEnd(size_t line) const {
    std::wstring name;
    WideView data;
    size_t end = line + 1;
    if (!ValueName(platform::Trim(m_lines[line].text), name, data) || AsciiUpper(data.substr(0, 3)) != L"HEX")
        return end;
    for (WideView last = platform::Trim(m_lines[line].text);
         !last.empty() && last.back() == L'\\' && end < m_lines.size(); ++end) {
        last = platform::Trim(m_lines[end].text);
    }
    return end;
}

std::vector<SettingsFile::Span> SettingsFile::Definitions(const std::wstring& name) const {
    std::vector<Span> spans;
    const std::wstring wanted = AsciiUpper(name);
    bool inSettings = false;
    for (size_t i = 0; i < m_lines.size();) {
        const WideView text = platform::Trim(m_lines[i].text);
        std::wstring valueName;
        WideView data;
        if (!text.empty() && text.front() == L'[') {
            inSettings = IsSettingsSection(text);
        } else if (inSettings && ValueName(text, valueName, data) && AsciiUpper(valueName) == wanted) {
            spans.push_back({i, DefinitionEnd(i)});
            i = spans.back().last;
            continue;
        }
        ++i;
    }
    return spans;
}

void SettingsFile::EndLastLine() {
    if (!m_lines.empty() && m_lines.back().end.empty()) m_lines.back().end = m_lineEnd;
}

// After the last line that is not blank in the last settings section.
bool SettingsFile::InsertIntoSection(const Line& line) {
    size_t anchor = m_lines.size();
    bool inSettings = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const WideView text = platform::Trim(m_lines[i].text);
        if (!text.empty() && text.front() == L'[') inSettings = IsSettingsSection(text);
        if (inSettings && !text.empty()) anchor = i;
    }
    if (anchor == m_lines.size()) return false;
    if (m_lines[anchor].end.empty()) m_lines[anchor].end = m_lineEnd;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(anchor) + 1, line);
    return true;
}

void SettingsFile::AppendSection(const Line& line) {
    EndLastLine();
    if (!m_lines.empty() && !platform::Trim(m_lines.back().text).empty()) m_lines.push_back(MakeLine(L"", m_lineEnd));
    m_lines.push_back(MakeLine(std::wstring(L"[") + kSettingsSection + L"]", m_lineEnd));
    m_lines.push_back(line);
    m_lines.push_back(MakeLine(L"", m_lineEnd));
}

// One pass, however many definitions there are.
void SettingsFile::Erase(const std::vector<Span>& spans) {
    if (spans.empty()) return;
    size_t to = spans.front().first;
    for (size_t k = 0; k < spans.size(); ++k) {
        const size_t kept = k + 1 < spans.size() ? spans[k + 1].first : m_lines.size();
        for (size_t i = spans[k].last; i < kept; ++i, ++to) {
            if (to != i) m_lines[to] = std::move(m_lines[i]);  // a string moved onto itself would empty
        }
    }
    m_lines.resize(to);
}

void SettingsFile::Set(const std::wstring& name, const std::wstring& value) {
    Line line = MakeLine(Quoted(name) + L"=" + Quoted(value), m_lineEnd);
    std::vector<Span> spans = Definitions(name);
    if (spans.empty()) {
        if (!InsertIntoSection(line)) AppendSection(line);
        return;
    }
    line.end = m_lines[spans.front().last - 1].end;
    m_lines[spans.front().first] = line;
    ++spans.front().first;
    Erase(spans);
}

bool SettingsFile::Unset(const std::wstring& name) {
    const std::vector<Span> spans = Definitions(name);
    Erase(spans);
    return !spans.empty();
}

std::string SettingsFile::Bytes() const {
    std::string bytes = m_encoding == Encoding::kUtf16Le        ? kUtf16Mark
                        : m_encoding == Encoding::kUtf8WithMark ? kUtf8Mark
                                                                : "";
    for (const Line& line : m_lines) bytes += line.raw + line.end;
    return bytes;
}

void SaveSettingsFile(const std::string& path, const std::string& bytes) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path target = path;
    if (fs::is_symlink(path, error)) {
        const fs::path resolved = fs::canonical(path, error);  // replace the file, keep the link
        if (!error) target = resolved;
    }
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
    const std::string temporary = target.string() + ".cvdr-" + std::to_string(getpid());
    OutputSet outputs;
    outputs.Add(temporary);
    OutputFile file(temporary);
    file.Write(bytes);
    file.Close();
    if (fs::exists(target, error)) fs::permissions(temporary, fs::status(target, error).permissions(), error);
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        throw std::runtime_error("cannot write " + path + ": " +
                                 std::error_code(errno, std::generic_category()).message());
    }
    outputs.Keep();
}

}  // namespace cvdr
