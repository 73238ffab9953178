// Delivers requests to the Archivon main window, starting Archivon first
// when no main window is open.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gleanix {

// The first top-level window, in Z order, whose title starts "Archivon ver".
HWND FindMainWindow();

// Finds or starts the main program and sends one WM_COPYDATA carrying the
// request. Failures are shown to the user, never returned.
void SendToMainProgram(std::uint32_t code, const std::vector<std::string>& strings);

}  // namespace gleanix
