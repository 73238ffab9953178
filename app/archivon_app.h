#pragma once
#include <windows.h>

#include <string>

class CArchivonApp {
public:
    explicit CArchivonApp(HINSTANCE instance);
    int Run(const char* commandLine);

private:
    HINSTANCE instance_;
};
