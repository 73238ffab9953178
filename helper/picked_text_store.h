// Where picked text goes, kept in the ini file beside the library, and
// the append of one entry to a text file.
#pragma once
#include <string>

namespace gleanix {

// The library's path with its extension replaced by ".ini".
std::string SettingsFilePath();

// "StoreInFile": a file, or a folder when it ends with a backslash. Absent:
// gleanix.txt beside the library; present but empty: "\" (a folder).
std::string ReadStoreInFile();
// "IsStoreToAvn" starting with '1' (the default): picked text goes to the
// main program.
bool ReadIsStoreToAvn();
void WriteRecords(const std::string& storeInFile, bool storeToMain);

// Appends the separator line and the text to `path`. A file that cannot be
// opened loses the text silently; a failed write is reported in a box.
void AppendPickedText(const std::string& path, const std::string& text, const std::string& url);

}  // namespace gleanix
