// Delivers requests to the Archivon main window, starting Archivon first
// when no main window is open.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace gleanix {

// The first top-level window, in Z order, whose title starts "Archivon ver".
HWND FindMainWindow();

// One request to the main program. Its texts are measured as they are added
// and converted only when the record is built, straight into it, so a page
// costs one copy; a request over the size limit is refused before any of it
// is converted.
class HandoffRequest {
public:
    // `what` names the content in the refusal ("page", "picked text", ...).
    HandoffRequest(std::uint32_t code, std::string what) : code_(code), what_(std::move(what)) {}

    // A text of the page, borrowed until Send returns. False once the
    // request is too large, so that the caller need not work on it further.
    bool Add(BSTR text);
    // A text made here.
    bool Add(std::string text);

    // Finds or starts the main program and sends one WM_COPYDATA carrying
    // the request. Failures and refusals are shown to the user, never
    // returned.
    void Send();

private:
    struct Text {
        const wchar_t* wide;
        std::size_t wideLength;
        std::string narrow;
        std::size_t size;
    };
    bool Fits();

    std::uint32_t code_;
    std::string what_;
    std::vector<Text> texts_;
    bool tooLarge_ = false;
};

}  // namespace gleanix
