#include "common/code_page.h"

#include <windows.h>

#include "common/archive.h"

namespace {
std::string ToAnsi(const char16_t* text, std::size_t length) {
    if (length == 0) return {};
    const auto* w = reinterpret_cast<const wchar_t*>(text);
    const int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(length), out.data(), n, nullptr, nullptr);
    return out;
}
}  // namespace

void InstallSystemCodePage() { arc::SetWideToNarrow(&ToAnsi); }
