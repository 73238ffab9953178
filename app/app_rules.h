// Start-up rules of the application object, free of the platform.
#pragma once
#include <string_view>

namespace app {

// True when the command line carries "Embedding" or "Automation" as a flag
// ("/Embedding", "-Automation"), which starts the program without a splash.
bool HasAutomationFlag(std::string_view commandLine);

}  // namespace app
