// Encrypting and decrypting documents in place on disk with a password.
#pragma once
#include <windows.h>  // first: EncryptFile/DecryptFile are macros there

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ui_port.h"

namespace vault {

// Both stream the document in pieces of a few MiB into a new file beside
// it, which takes the document's place only when it is complete: memory
// stays bounded whatever the size, and a failure on the way leaves the
// document as it was (plain stays plain, encrypted stays encrypted).

// Replaces the file's content with its encrypted form (the file grows by 30
// to 37 bytes); it keeps its creation time and attributes and takes the
// time of the write. False when the file cannot be opened or its status
// read (silently) or when reading or writing fails (reported); the file is
// then as it was.
bool EncryptFile(const std::string& path, const std::string& password, UiPort& ui);

// Restores the content, length, creation and modification times and
// attribute byte kept in the encrypted file. A wrong password or a damaged
// file is reported with a message box and changes nothing.
bool DecryptFile(const std::string& path, const std::string& password, UiPort& ui);

// Tests: called before each piece of the new file is written, with the
// bytes written so far; false makes that write fail as a failing disk
// would. An empty hook removes it.
using PieceWriteHook = std::function<bool(std::uint64_t written)>;
void SetPieceWriteHook(PieceWriteHook hook);

// Decrypts each document whose flag is 1 and encrypts the others, all with
// one password; a flag changes only when its document did. Returns how many
// changed, so the caller knows whether to save the index.
int ToggleEncryption(const std::string& catalogPath, const std::vector<std::string>& names,
                     std::vector<int>& encoded, const std::string& password, UiPort& ui);

// The "Encrypt/Decrypt" command over the selected documents: with none,
// "No File(s) selected!" goes to Messages; otherwise the password is asked
// once and ToggleEncryption runs. Returns how many documents changed.
int EncryptDecryptCommand(const std::string& catalogPath, const std::vector<std::string>& names,
                          std::vector<int>& encoded, UiPort& ui);

}  // namespace vault
