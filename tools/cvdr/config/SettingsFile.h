// Editing the values of the viewer's settings key in the registry file that
// the plug-in reads (a regedit export, see platform/RegistryFile.h in the
// decoder): a value is set or removed by changing only its own lines; every
// other line keeps its bytes, and the file keeps its encoding (UTF-16LE with
// a byte-order mark, or UTF-8 with or without one) and its line ends.
#ifndef CVDR_CONFIG_SETTINGS_FILE_H
#define CVDR_CONFIG_SETTINGS_FILE_H

#include <cstddef>
#include <string>
#include <vector>

namespace cvdr {

// The key the settings live in, as a section line names it.
inline constexpr const wchar_t* kSettingsSection =
    L"HKEY_CURRENT_USER\\Software\\Pelvar\\Tracedesk\\Scopora\\Settings";

class SettingsFile {
public:
    // A new file as regedit writes one: UTF-16LE with byte-order mark, CR LF
    // line ends, the version 5 header.
    static SettingsFile Create();

    // The file's bytes; an empty or blank file counts as new. Throws
    // std::runtime_error when the text has no registry header.
    static SettingsFile Parse(const std::string& bytes);

    // Writes "name"="value" in place of the value's first definition in the
    // settings key (dropping any further ones), else at the end of the key's
    // section, else in a new section at the end of the file.
    void Set(const std::wstring& name, const std::wstring& value);

    // Removes every definition of the value from the settings key; false
    // when there was none.
    bool Unset(const std::wstring& name);

    std::string Bytes() const;

private:
    enum class Encoding { kUtf16Le, kUtf8WithMark, kUtf8 };

    struct Line {
        std::string raw;  // bytes in the file's encoding, without the line end
        std::string end;  // the line end's bytes; empty for a last line without one
        std::wstring text;
    };

    // Lines [first, last) that define one value.
    struct Span {
        size_t first;
        size_t last;
    };

    Line MakeLine(const std::wstring& text, const std::string& end) const;
    std::vector<Span> Definitions(const std::wstring& name) const;
    size_t DefinitionEnd(size_t line) const;
    // Removes the lines of `spans`, given in file order.
    void Erase(const std::vector<Span>& spans);
    bool InsertIntoSection(const Line& line);
    void AppendSection(const Line& line);
    void EndLastLine();

    Encoding m_encoding = Encoding::kUtf16Le;
    std::string m_lineEnd;  // bytes of the file's line end, for new lines
    std::vector<Line> m_lines;
};

// Writes the file through a temporary file beside it, creating missing
// folders. Throws std::runtime_error on failure.
void SaveSettingsFile(const std::string& path, const std::string& bytes);

}  // namespace cvdr

#endif
