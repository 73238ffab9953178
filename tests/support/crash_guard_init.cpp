#include "tests/support/crash_guard.h"

namespace {
const bool installed = (InstallCrashGuard(), true);
}
