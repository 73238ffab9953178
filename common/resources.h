// The module whose resources (dialogs, strings, menus, bitmaps) the code
// loads: the program, or Gleanix.dll inside its host process.
#pragma once
#include <windows.h>

#include <string>

HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);
// A string of the module's string table; "" when it has none of that id.
std::string LoadResString(UINT id);
