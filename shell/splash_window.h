// The start-up picture: splash.bmp from the program's folder in a
// borderless window centred on the screen, gone after 750 ms or at the
// first key or mouse-button press, which it swallows.
#pragma once
#include <windows.h>

#include <string>

// Set once at start-up from the command line; until then no splash shows,
// so windows built outside the program (tests) get none.
void SetSplashAllowed(bool allowed);
bool SplashAllowed();

// The program's folder followed by "\splash.bmp".
std::string SplashPicturePath();

// Shows the picture unless splashes are not allowed or one is shown. A file
// that cannot be opened is reported with its file error; one that is no
// bitmap with "Can not load splash picture!".
void ShowSplashScreen(HWND owner, const std::string& picture = SplashPicturePath());
// Destroys the splash window and repaints its owner at once.
void HideSplashScreen();
// Called for every message of the program's loop before it is dispatched:
// true when it was a key or button press that ended the splash, and must
// go no further.
bool PreTranslateAppMessage(const MSG& msg);
// The splash window while it is shown, else null.
HWND SplashWindow();
