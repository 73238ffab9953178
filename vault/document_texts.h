// User texts of the document commands (string table numbers noted).
#pragma once

namespace vault {

constexpr const char* kNoFilesSelected = "No File(s) selected!\r\n";                               // 148
constexpr const char* kConfirmDelete = "Do you really want to delete the selected item(s)?";          // 150
constexpr const char* kDescriptionHint =                                                               // 147
    "\"Add text here!\r\nWhen leave this window, the inputed description will be saved automatically.\"";
constexpr const char* kIsEncrypted = " is encrypted\r\n";
constexpr const char* kCopyDestinationTitle = "Select a destination folder";
constexpr const char* kTempWorkingFolder = "C:\\Temp";

}  // namespace vault
