# Files of jobs/: CORE_SOURCES portable, APP_SOURCES (or HELPER_SOURCES) Win32.
