#include "common/code_page.h"

#include <windows.h>

#include <climits>

#include "common/archive.h"

std::size_t AnsiCodePageLength(const wchar_t* text, std::size_t length) {
    if (!text || length == 0 || length > INT_MAX) return 0;
    const int n = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

void ToAnsiCodePageInto(const wchar_t* text, std::size_t length, char* out, std::size_t size) {
    if (!text || length == 0 || length > INT_MAX || size == 0 || size > INT_MAX) return;
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(length), out, static_cast<int>(size), nullptr, nullptr);
}

std::string ToAnsiCodePage(const wchar_t* text, std::size_t length) {
    std::string out(AnsiCodePageLength(text, length), '\0');
    ToAnsiCodePageInto(text, length, out.data(), out.size());
    return out;
}

namespace {
std::string ArchiveToAnsi(const char16_t* text, std::size_t length) {
    return ToAnsiCodePage(reinterpret_cast<const wchar_t*>(text), length);
}
}  // namespace

void InstallSystemCodePage() { arc::SetWideToNarrow(&ArchiveToAnsi); }
