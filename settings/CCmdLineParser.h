// Splits an option string in command-line syntax ("-key:value /flag
// -other:\"quoted value\"") into key/value pairs. The parser knows nothing of
// the keys it stores; when not case sensitive (the only mode the module
// uses) keys are stored and looked up in lower case. The first occurrence of
// a key wins.
#ifndef DR_MVQ4_SETTINGS_CCMDLINEPARSER_H
#define DR_MVQ4_SETTINGS_CCMDLINEPARSER_H

#include <map>
#include <string>

class CCmdLineParser {
public:
    explicit CCmdLineParser(const wchar_t* commandLine = nullptr, bool caseSensitive = false);
    virtual ~CCmdLineParser();

    // Replaces the stored command line and its pairs. False for a null string.
    bool Parse(const wchar_t* commandLine);

    bool HasKey(const wchar_t* key) const;
    // The value of `key`, or null when absent. A key given without a value
    // has an empty value, not null. The pointer lives until the next Parse.
    const std::wstring* GetValue(const wchar_t* key) const;

private:
    void Store(std::wstring key, std::wstring value);
    std::wstring Normalised(std::wstring key) const;

    std::wstring m_commandLine;
    std::map<std::wstring, std::wstring> m_arguments;
    bool m_caseSensitive;
};

#endif
