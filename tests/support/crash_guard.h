#pragma once
// Turns an unhandled exception into a printed code and exit code 3, so a
// crashing test can never pass under Wine's debugger.
void InstallCrashGuard();
