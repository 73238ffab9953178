// Local names for downloaded files. Every part that comes from a server or a
// URL is made safe: the result is one plain name inside the download folder.
#pragma once
#include <string>
#include <string_view>

namespace net {

// A name that stays inside its folder: no separators, no ":" (alternate
// streams), not "." or "..", no trailing dots or blanks, no device name
// (CON, NUL, COM1, ...), at most 200 characters with the extension kept.
std::string SafeLocalName(std::string_view name);

// The name taken from an HTTP object path, or "" when the path carries a
// query ("?" or "&") or ends in a separator. Images get the host and the
// whole path so that images of different pages do not collide. When the name
// has no extension, the one of the Content-Location line is added.
std::string NameFromObjectPath(std::string_view host, std::string_view objectPath,
                               const std::string* contentLocationLine);

// The extension for a Content-Type line, or "" when the table has none.
std::string_view ExtensionForContentType(std::string_view contentTypeLine);

// A platform temporary name ("...\relAB12.tmp") turned into a download
// name: last component, lower case, ".tmp" replaced by the type's extension.
std::string NameFromTemporary(std::string_view temporaryPath, std::string_view contentTypeLine);

// True for names the system's loader or this program would pick up from the
// program folder (libraries, drivers, manifests, the job list, ini and help
// files): a server must never choose such a name there.
bool IsLoaderSensitiveName(std::string_view name);

// The name of an FTP download: the path with its separators turned into
// "_", cut before its last "&".
std::string FtpFileName(std::string_view objectPath);

}  // namespace net
