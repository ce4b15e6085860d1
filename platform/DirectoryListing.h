// Listing the files of a folder by a name prefix, and the path helpers the
// device-model lookup needs. Paths are UTF-8.
//
// The lookup searches "<folder text>*<extension>": the folder text is a
// prefix of the path, not necessarily a folder. Everything up to its last
// separator is the folder to list; the rest is the prefix the file names
// must begin with. So "/models/" lists /models, and "/models/dev" lists
// /models for names beginning with "dev".
//
// Separators: "/" on Linux; "\" and "/" on Windows (win32/DirectoryListing.cpp),
// where the system's wildcard search lists the folder (FindFirstFileW with
// "<folder text>*"). There the prefix matches as that search matches names:
// ignoring case, possibly by a file's short 8.3 name, and "*" or "?" in the
// folder text act as wildcards. A link is judged by its own entry there: a
// link to a file counts as a file even when its target is gone.
#ifndef DR_MVQ4_PLATFORM_DIRECTORY_LISTING_H
#define DR_MVQ4_PLATFORM_DIRECTORY_LISTING_H

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

// Names (without folder) of the regular files whose path begins with
// `prefixText`, symbolic links to regular files included. Folders, devices,
// broken links and unreadable entries are skipped; a folder that cannot be
// listed gives no names. The names come in listing order (SortInListingOrder).
std::vector<std::string> ListFilesWithPrefix(const std::string& prefixText);

// Listing order, the same on every system: byte order of the ASCII-upper-cased
// names, then byte order.
void SortInListingOrder(std::vector<std::string>& names);

// Whether `name` ends in `extension`, ignoring ASCII case.
bool HasExtensionIgnoringCase(const std::string& name, const std::string& extension);

// Where the last component of `path` begins: just after its last separator,
// 0 when it has none.
size_t LastComponentStart(const std::string& path);

// `folder` followed by `component`, with one separator between them when
// `folder` is not empty and does not already end in one. An empty component
// leaves the folder as it is. Windows joins with PathAppendW, which also
// folds "." and ".." components; a result longer than the system's path
// limit is joined with a plain "\".
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

// The names of every entry of `folder` (a path that is empty for the current
// folder or ends in a separator), in no particular order; none when it cannot
// be listed.
std::vector<std::string> FolderEntries(const std::string& folder);

// Whether a file (or anything) exists at `path`.
bool PathExists(const std::string& path);

}  // namespace platform

#endif
