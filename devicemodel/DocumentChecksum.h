// The checksum of a self-checksummed document: a device model or language
// document, or a container's meta data or extended settings. Such a text ends
// with a 65-byte trailer: the comment
// "<!--CHECKSUM:" + 32 hex digits + " LENGTH:" + 8 digits + "-->" and a line
// feed. The digest covers every byte before the trailer; the comment is the
// third top-level node (after the XML declaration and the root element).
#ifndef DR_MVQ4_DEVICEMODEL_DOCUMENT_CHECKSUM_H
#define DR_MVQ4_DEVICEMODEL_DOCUMENT_CHECKSUM_H

#include <cstddef>
#include <pugixml.hpp>
#include <string_view>

namespace devicemodel {

// Bytes at the end of a text that the digest does not cover.
constexpr size_t kChecksumTrailerLength = 65;

// The digest stored in a checksum comment's text: the part after its first
// ":" and before its first " LENGTH:"; empty when " LENGTH:" is missing or
// no ":" comes before it.
std::string_view StoredChecksum(std::string_view comment);

// Top-level node `index` of `document`, nodes of every kind counted; an empty
// node when there are fewer.
pugi::xml_node TopLevelNode(const pugi::xml_document& document, size_t index);

// Whether `document`, parsed from `text` with the declaration and comments
// kept as nodes, stores the digest of `text` without its trailer. A text too
// short to hold a trailer never does. The LENGTH digits are not examined.
bool HasValidChecksum(std::string_view text, const pugi::xml_document& document);

}  // namespace devicemodel

#endif
