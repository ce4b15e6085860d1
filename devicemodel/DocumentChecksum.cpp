#include "devicemodel/DocumentChecksum.h"

#include <string>

#include "platform/Md5Hex.h"

namespace devicemodel {

pugi::xml_node TopLevelNode(const pugi::xml_document& document, size_t index) {
    pugi::xml_node node = document.first_child();
    for (size_t i = 0; node && i < index; ++i) node = node.next_sibling();
    return node;
}

std::string_view StoredChecksum(std::string_view comment) {
    const size_t lengthMark = comment.find(" LENGTH:");
    const size_t colon = comment.find(':');
    if (lengthMark == std::string_view::npos || colon >= lengthMark) return std::string_view();
    return comment.substr(colon + 1, lengthMark - colon - 1);
}

bool HasValidChecksum(std::string_view text, const pugi::xml_document& document) {
    if (text.size() < kChecksumTrailerLength) return false;
    const std::string expected = platform::Md5Hex::Of(text.substr(0, text.size() - kChecksumTrailerLength));
    return StoredChecksum(TopLevelNode(document, 2).value()) == expected;
}

}  // namespace devicemodel
