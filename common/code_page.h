// Installs the system code page conversion for wide texts in archives.
#pragma once
void InstallSystemCodePage();
