#include "container/RecordContainer.h"

#include <cerrno>

#include "platform/FileAccess.h"
#include "platform/TextConversion.h"

namespace container {
namespace {

const char* const kErrorPrefix = "Internal error in Corvane Container:\n";

std::string ContainerErrorText(const std::string& reason) {
    return kErrorPrefix + (reason.empty() ? std::string("Unknown") : reason) + "\n";
}

}  // namespace

bool RecordContainer::IsContainer(const std::wstring& path) {
    std::string head;
    int error = 0;
    if (!platform::ReadFileHead(platform::WideToUtf8(path), 2, head, error)) {
        const bool opened = error == 0;  // opened but shorter than two bytes
        m_errorText = ContainerErrorText(opened ? "IsContainer(): File has invalid container file header."
                                                : "IsContainer() fails: Can not open file for reading.");
        return false;
    }
    if (head[0] == 'P' && head[1] == 'K') return true;
    m_errorText = ContainerErrorText("IsContainer(): File has invalid container file header.");
    return false;
}

bool RecordContainer::OpenContainer(const std::wstring&) {
    m_errorText = "OpenContainer fails\n" + ContainerErrorText("OpenContainer() fails: Failure in OpenZip()\n");
    return false;
}

bool RecordContainer::ReadRecorderData(std::string&) { return false; }

bool LoadRecordText(const std::wstring& path, std::string& text) {
    RecordContainer container;
    if (container.IsContainer(path)) {
        return container.OpenContainer(path) && container.ReadRecorderData(text);
    }
    const std::string utf8Path = platform::WideToUtf8(path);
    int error = 0;
    std::string bytes;
    if (!platform::ReadWholeFile(utf8Path, bytes, error)) {
        platform::ReportFileError(utf8Path, error);
        return false;
    }
    text.swap(bytes);
    return true;
}

}  // namespace container
