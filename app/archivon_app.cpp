#include "app/archivon_app.h"

CArchivonApp::CArchivonApp(HINSTANCE instance) : instance_(instance) {}

int CArchivonApp::Run(const char*) { return 0; }
