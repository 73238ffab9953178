// The request record Gleanix hands to the main window by WM_COPYDATA: the
// receiving window's handle as 32 bits, then a list of texts in the archive
// encoding. The bytes come from another process, so decoding trusts nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/archive.h"

namespace handoff {

// Request codes, carried as the copy-data code and as wParam.
constexpr std::uint32_t HANDOFF_STORE_PAGE = 100;    // content, source URL, file name
constexpr std::uint32_t HANDOFF_ADD_DOWNLOAD = 101;  // the URL
constexpr std::uint32_t HANDOFF_ADD_FILES = 200;     // folder\ followed by names split by '|'

// The largest record a sender builds. Even the biggest one-page documents
// are a few MB of HTML, and picked text is far less, so 32 MB refuses
// nothing a user would pick. At that size the record costs the browser's
// process 32 MB beside the page it holds already, and the main program,
// which copies the record and writes it out, about as much again; a page
// of hundreds of MB is refused before any of it is converted.
constexpr std::size_t kMaxHandoffBytes = std::size_t(32) << 20;

struct HandoffRecord {
    std::uint32_t window = 0;
    std::vector<std::string> strings;
};

// A text that writes itself: its length in bytes and a function that fills
// exactly that many bytes, so a sender can convert a page straight into the
// record instead of copying it there.
struct TextSource {
    std::size_t size = 0;
    std::function<void(char* out)> fill;
};

// The bytes a record of texts of these lengths takes.
std::size_t HandoffSize(const std::vector<std::size_t>& textLengths);

arc::Bytes EncodeHandoff(const HandoffRecord& record);
// Builds the record in one buffer of its final size.
arc::Bytes EncodeHandoff(std::uint32_t window, const std::vector<TextSource>& texts);
// False for a record that is cut short, claims more than it holds, or has
// bytes left over after its last text.
bool DecodeHandoff(const void* data, std::size_t size, HandoffRecord& record);

}  // namespace handoff
