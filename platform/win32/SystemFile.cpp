#include "platform/SystemFile.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "platform/TextConversion.h"

namespace platform {
namespace {

struct LocalFreer {
    void operator()(wchar_t* text) const { LocalFree(text); }
};

// A folder does not open without backup semantics (the system says access
// denied); anything else that is not a file on disk is refused here.
DWORD RegularFileError(HANDLE file, uint64_t& size) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK) return ERROR_INVALID_FUNCTION;
    if (!GetFileInformationByHandle(file, &info)) return GetLastError();
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return ERROR_ACCESS_DENIED;
    size = (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    return ERROR_SUCCESS;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

// What is known before opening: a path in the device namespace ("\\.\pipe\x",
// "\\.\COM1", "\\?\GLOBALROOT\...") other than a drive, a volume or a share, and a
// path whose attributes say folder or device, are refused without being
// opened, as opening a pipe connects to its server. Attributes that cannot be
// read leave the verdict to CreateFileW and the handle's type.
DWORD PathError(const std::wstring& path) {
    if (StartsWith(path, L"\\\\.\\") || StartsWith(path, L"\\\\?\\")) {
        const std::wstring rest = path.substr(4);
        const bool drive = rest.size() >= 2 && rest[1] == L':';
        if (!drive && !StartsWith(rest, L"UNC\\") && !StartsWith(rest, L"Volume{")) return ERROR_INVALID_FUNCTION;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return ERROR_ACCESS_DENIED;
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return ERROR_INVALID_FUNCTION;
    return ERROR_SUCCESS;
}

}  // namespace

SystemFile::~SystemFile() {
    if (m_file != nullptr) CloseHandle(m_file);
}

bool SystemFile::Open(const std::string& path, int& error) {
    const std::wstring widePath = Utf8ToWide(path);
    if (const DWORD refused = PathError(widePath); refused != ERROR_SUCCESS) {
        error = static_cast<int>(refused);
        return false;
    }
    const HANDLE file = CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    const DWORD refused = RegularFileError(file, m_size);
    if (refused != ERROR_SUCCESS) {
        CloseHandle(file);
        error = static_cast<int>(refused);
        return false;
    }
    m_file = file;
    return true;
}

// ReadFile takes at most a DWORD's worth of bytes per call.
bool SystemFile::Read(char* buffer, size_t count, size_t& got, int& error) {
    got = 0;
    while (got < count) {
        const DWORD request = static_cast<DWORD>(std::min<size_t>(count - got, DWORD{1} << 30));
        DWORD read = 0;
        if (!ReadFile(m_file, buffer + got, request, &read, nullptr)) {
            error = static_cast<int>(GetLastError());
            return false;
        }
        if (read == 0) break;
        got += read;
    }
    return true;
}

bool SystemFile::Seek(uint64_t offset) {
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return offset <= uint64_t{INT64_MAX} && SetFilePointerEx(m_file, distance, nullptr, FILE_BEGIN) != 0;
}

std::string SystemErrorText(int error) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreer> owned(text);
    if (length == 0) return "error " + std::to_string(error);
    std::wstring message(text, length);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L'.' ||
                                message.back() == L' ')) {
        message.pop_back();
    }
    return WideToUtf8(message);
}

int FileTooLargeError() { return ERROR_FILE_TOO_LARGE; }

}  // namespace platform
