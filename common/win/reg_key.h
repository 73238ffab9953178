// An open registry key, closed by its owner.
#pragma once
#include <windows.h>

#include <string>

namespace win {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Both return the system's code (ERROR_SUCCESS when open).
    LONG Open(HKEY root, const std::string& path, REGSAM access);
    LONG Create(HKEY root, const std::string& path, REGSAM access);
    void Close();
    HKEY get() const { return key_; }
    bool valid() const { return key_ != nullptr; }

    // A REG_SZ or REG_EXPAND_SZ value (name nullptr: the default value),
    // without its terminating zeros; false for another type or none.
    bool QueryText(const char* name, std::string& value) const;
    bool QueryDword(const char* name, DWORD& value) const;
    LONG SetText(const char* name, const std::string& value) const;
    LONG SetDword(const char* name, DWORD value) const;
    LONG DeleteValue(const char* name) const;

private:
    HKEY key_ = nullptr;
};

}  // namespace win
