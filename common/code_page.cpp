#include "common/code_page.h"

#include <windows.h>

#include <climits>

#include "common/archive.h"

std::string ToAnsiCodePage(const wchar_t* text, std::size_t length) {
    if (!text || length == 0 || length > INT_MAX) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), out.data(), n, nullptr, nullptr);
    return out;
}

namespace {
std::string ArchiveToAnsi(const char16_t* text, std::size_t length) {
    return ToAnsiCodePage(reinterpret_cast<const wchar_t*>(text), length);
}
}  // namespace

void InstallSystemCodePage() { arc::SetWideToNarrow(&ArchiveToAnsi); }
