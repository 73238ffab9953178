#include "vault/catalog_service.h"

#include <windows.h>

#include "common/ui_port.h"
#include "common/win/file_system.h"
#include "common/win/folder_enumerator.h"
#include "common/win/handle.h"
#include "vault/document_index.h"

namespace vault {

namespace {

bool FolderHoldsOnlyIndex(const std::string& folder) {
    win::FolderEnumerator entries(folder);
    bool any = false;
    while (entries.Next()) {
        if (lstrcmpiA(entries.name().c_str(), kIndexFileName) != 0) return false;
        any = true;
    }
    return any && entries.CleanEnd();
}

// An index that cannot be read lists nothing the user could lose.
bool IndexListsNoDocuments(const std::string& catalog) {
    win::File file = win::File::Open(IndexPath(catalog), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    arc::Bytes bytes;
    if (!file.valid() || !file.ReadAll(bytes, 0x7FFFFFFF)) return true;
    DocumentRecords records;
    return !DecodeIndex(bytes.data(), bytes.size(), records).ok || records.empty();
}

}  // namespace

void CatalogService::Prepare() {
    const std::string unknown = vault_.UnknownCatalog();
    if (!win::PathExists(unknown)) win::CreatePath(unknown, *ui_);
    if (!win::IsFolder(vault_.root)) ui_->AddMessage("The vault folder " + vault_.root + " cannot be used.\r\n");
}

std::vector<std::string> CatalogService::Children(const std::string& catalog) const {
    std::vector<std::string> titles;
    win::FolderEnumerator entries(catalog);
    while (entries.Next())
        if (entries.isPlainFolder()) titles.push_back(entries.name());
    return titles;
}

bool CatalogService::Exists(const std::string& path) const { return win::PathExists(path); }

bool CatalogService::IsUsableTitle(const std::string& title) {
    if (title == "." || title == "..") return false;
    for (char c : title)
        if (static_cast<unsigned char>(c) < 0x20 || std::string("\\/:*?\"<>|").find(c) != std::string::npos)
            return false;
    return true;
}

bool CatalogService::ApplyTitle(const std::string& parent, const std::string& oldTitle, const std::string& newTitle) {
    const std::string oldPath = parent + "\\" + oldTitle;
    if (!newTitle.empty() && !IsUsableTitle(newTitle)) return false;
    if (!win::PathExists(oldPath))
        return CreateDirectoryA((parent + "\\" + (newTitle.empty() ? oldTitle : newTitle)).c_str(), nullptr) != FALSE;
    if (!newTitle.empty() && newTitle != oldTitle)
        return MoveFileA(oldPath.c_str(), (parent + "\\" + newTitle).c_str()) != FALSE;
    return true;
}

bool CatalogService::Delete(const std::string& path) {
    if (FolderHoldsOnlyIndex(path) && IndexListsNoDocuments(path)) DeleteFileA(IndexPath(path).c_str());
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool CatalogService::Move(const std::string& source, const std::string& destination) {
    if (!CreateDirectoryA(destination.c_str(), nullptr)) return false;
    {
        win::FolderEnumerator entries(source);
        while (entries.Next()) {
            const std::string from = source + "\\" + entries.name(), to = destination + "\\" + entries.name();
            // A folder link moves as itself; its target stays where it is.
            const bool ok = entries.isPlainFolder() ? Move(from, to) : MoveFileA(from.c_str(), to.c_str()) != FALSE;
            if (!ok) return false;
        }
    }
    return RemoveDirectoryA(source.c_str()) != FALSE;
}

}  // namespace vault
