#include "common/win/reg_key.h"

namespace win {

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = other.key_;
        other.key_ = nullptr;
    }
    return *this;
}

LONG RegKey::Open(HKEY root, const std::string& path, REGSAM access) {
    Close();
    const LONG rc = RegOpenKeyExA(root, path.c_str(), 0, access, &key_);
    if (rc != ERROR_SUCCESS) key_ = nullptr;
    return rc;
}

LONG RegKey::Create(HKEY root, const std::string& path, REGSAM access) {
    Close();
    const LONG rc = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, access, nullptr, &key_, nullptr);
    if (rc != ERROR_SUCCESS) key_ = nullptr;
    return rc;
}

void RegKey::Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
}

bool RegKey::QueryText(const char* name, std::string& value) const {
    DWORD type = 0, size = 0;
    if (!key_ || RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::string buf(size + 1, '\0');
    DWORD got = size;
    if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    buf.resize(got < buf.size() ? got : buf.size());
    while (!buf.empty() && buf.back() == '\0') buf.pop_back();
    value = std::move(buf);
    return true;
}

bool RegKey::QueryDword(const char* name, DWORD& value) const {
    DWORD type = 0, v = 0, size = sizeof v;
    if (!key_ || RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof v)
        return false;
    value = v;
    return true;
}

LONG RegKey::SetText(const char* name, const std::string& value) const {
    return RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

LONG RegKey::SetDword(const char* name, DWORD value) const {
    return RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG RegKey::DeleteValue(const char* name) const { return RegDeleteValueA(key_, name); }

}  // namespace win
