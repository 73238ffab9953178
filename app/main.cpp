#include <windows.h>

#include "app/archivon_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    CArchivonApp app(instance);
    return app.Main(commandLine);
}
