// User texts of the document commands that the string table does not hold.
#pragma once

namespace vault {

constexpr const char* kIsEncrypted = " is encrypted\r\n";
constexpr const char* kCopyDestinationTitle = "Select a destination folder";

}  // namespace vault
