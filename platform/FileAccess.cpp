#include "platform/FileAccess.h"

#include "platform/MessageBox.h"
#include "platform/SystemFile.h"

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& bytes, int& error, uint64_t maxSize) {
    SystemFile file;
    if (!file.Open(path, error)) return false;
    if (file.Size() > maxSize) {
        error = FileTooLargeError();
        return false;
    }
    std::string content(static_cast<size_t>(file.Size()), '\0');
    size_t got = 0;
    if (!content.empty()) file.Read(&content[0], content.size(), got, error);
    content.resize(got);  // the file shrank, or reading failed part-way: keep what is there
    bytes.swap(content);
    return true;
}

HeadResult ReadFileHead(const std::string& path, size_t count, std::string& bytes, int& error) {
    SystemFile file;
    if (!file.Open(path, error)) return HeadResult::kCannotOpen;
    std::string head(count, '\0');
    size_t got = 0;
    if (count > 0 && !file.Read(&head[0], count, got, error)) return HeadResult::kCannotRead;
    if (got != count) return HeadResult::kTooShort;
    bytes.swap(head);
    return HeadResult::kRead;
}

std::string FileErrorMessage(const std::string& path, int error) {
    return "Cannot open the file " + path + ": " + SystemErrorText(error) + ".";
}

void ReportFileError(const std::string& path, int error) { ShowMessageBox(FileErrorMessage(path, error)); }

}  // namespace platform
