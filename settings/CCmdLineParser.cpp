#include "settings/CCmdLineParser.h"

#include <utility>

namespace {

constexpr const wchar_t* kSwitches = L"-/";
constexpr const wchar_t* kKeyTerminators = L" :";
constexpr wchar_t kQuote = L'"';

}  // namespace

CCmdLineParser::CCmdLineParser(const wchar_t* commandLine, bool caseSensitive) : m_caseSensitive(caseSensitive) {
    if (commandLine != nullptr) Parse(commandLine);
}

CCmdLineParser::~CCmdLineParser() = default;

std::wstring CCmdLineParser::Normalised(std::wstring key) const {
    if (!m_caseSensitive) {
        for (wchar_t& c : key) {
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return key;
}

void CCmdLineParser::Store(std::wstring key, std::wstring value) {
    if (key.empty()) return;
    m_arguments.emplace(Normalised(std::move(key)), std::move(value));  // first occurrence wins
}

bool CCmdLineParser::Parse(const wchar_t* commandLine) {
    m_arguments.clear();
    if (commandLine == nullptr) {
        m_commandLine.clear();
        return false;
    }
    m_commandLine = commandLine;
    const std::wstring& text = m_commandLine;
    const size_t npos = std::wstring::npos;
    size_t position = 0;
    while (position < text.size()) {
        const size_t switchAt = text.find_first_of(kSwitches, position);
        if (switchAt == npos || switchAt + 1 >= text.size()) break;
        const size_t keyStart = switchAt + 1;
        const size_t terminator = text.find_first_of(kKeyTerminators, keyStart);
        if (terminator == npos) {
            Store(text.substr(keyStart), std::wstring());
            break;
        }
        std::wstring key = text.substr(keyStart, terminator - keyStart);
        if (text[terminator] == L' ' || terminator + 1 == text.size()) {
            Store(std::move(key), std::wstring());
            position = terminator + 1;
            continue;
        }
        size_t valueStart = terminator + 1;
        wchar_t valueEnd = L' ';
        if (text[valueStart] == kQuote) {
            ++valueStart;
            valueEnd = kQuote;
        }
        const size_t end = text.find(valueEnd, valueStart);
        if (end == npos) {
            Store(std::move(key), text.substr(valueStart));
            break;
        }
        Store(std::move(key), text.substr(valueStart, end - valueStart));
        position = end + 1;
    }
    return true;
}

bool CCmdLineParser::HasKey(const wchar_t* key) const {
    return key != nullptr && m_arguments.count(Normalised(key)) > 0;
}

const std::wstring* CCmdLineParser::GetValue(const wchar_t* key) const {
    if (key == nullptr) return nullptr;
    const auto found = m_arguments.find(Normalised(key));
    return found == m_arguments.end() ? nullptr : &found->second;
}
