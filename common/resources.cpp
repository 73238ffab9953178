#include "common/resources.h"

namespace {
HINSTANCE g_instance = nullptr;
}  // namespace

HINSTANCE AppInstance() { return g_instance ? g_instance : GetModuleHandleA(nullptr); }
void SetAppInstance(HINSTANCE instance) { g_instance = instance; }

std::string LoadResString(UINT id) {
    // A string table entry holds at most 4097 characters.
    char buf[4100];
    const int n = LoadStringA(AppInstance(), id, buf, sizeof buf);
    return std::string(buf, n > 0 ? n : 0);
}
