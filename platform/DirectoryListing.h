// Listing the files of a folder by a name prefix, and the path helpers the
// device-model lookup needs.
//
// The lookup searches "<folder text>*<extension>": the folder text is a
// prefix of the path, not necessarily a folder. Everything up to its last
// "/" is the folder to list; the rest is the prefix the file names must begin
// with. So "/models/" lists /models, and "/models/dev" lists /models for names
// beginning with "dev".
#ifndef DR_MVQ4_PLATFORM_DIRECTORY_LISTING_H
#define DR_MVQ4_PLATFORM_DIRECTORY_LISTING_H

#include <string>
#include <vector>

namespace platform {

// Names (without folder) of the regular files whose path begins with
// `prefixText` (UTF-8), symbolic links to regular files included. Folders,
// broken links and unreadable entries are skipped; a folder that cannot be
// listed gives no names. The names come in a fixed order: byte order of the
// ASCII-upper-cased names, then byte order.
std::vector<std::string> ListFilesWithPrefix(const std::string& prefixText);

// Whether `name` ends in `extension`, ignoring ASCII case.
bool HasExtensionIgnoringCase(const std::string& name, const std::string& extension);

// `folder` followed by `component`, with one "/" between them when `folder`
// is not empty and does not already end in one. An empty component leaves
// the folder as it is.
std::string AppendPath(const std::string& folder, const std::string& component);

// The path without its extension (the part from the last "." of the last
// path component): "/models/dev_V1.2.dm_c" gives "/models/dev_V1.2".
std::string PathWithoutExtension(const std::string& path);

// The extension of the last path component, from its last "." ("" if none).
std::string Extension(const std::string& path);

// The path of the file that a file system ignoring ASCII case finds for
// `path`: its last component replaced by the first name of its folder, in
// listing order, that equals it ignoring ASCII case; `path` itself when no
// name does. Used for names the module composes (a model's language file).
std::string ResolveNameIgnoringCase(const std::string& path);

// Whether a file (or anything) exists at `path`.
bool PathExists(const std::string& path);

}  // namespace platform

#endif
