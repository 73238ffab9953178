// Folder operations of the catalog tree.
#pragma once
#include <string>

// Moves folder S with everything below it to D by renaming files (so nothing
// is copied within a volume). D must not exist. The first failure returns
// false; what was moved so far stays moved.
bool MoveFolderTree(const std::string& source, const std::string& destination);
