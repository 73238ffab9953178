// What keeps the program alive while a long command reads the vault on the
// window thread: windows are repainted, typed keys are swallowed, and Esc
// stops the command. Clicks wait in the queue until it is over.
#pragma once
#include <windows.h>

class BusyPump {
public:
    // Looks at the queue at most every 50 ms; false once Esc was pressed.
    bool KeepGoing();

private:
    DWORD last_ = 0;
    bool checked_ = false;
    bool stopped_ = false;
};
