// The request record Gleanix hands to the main window by WM_COPYDATA: the
// receiving window's handle as 32 bits, then a list of texts in the archive
// encoding. The bytes come from another process, so decoding trusts nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/archive.h"

namespace handoff {

// Request codes, carried as the copy-data code and as wParam.
constexpr std::uint32_t HANDOFF_STORE_PAGE = 100;    // content, source URL, file name
constexpr std::uint32_t HANDOFF_ADD_DOWNLOAD = 101;  // the URL
constexpr std::uint32_t HANDOFF_ADD_FILES = 200;     // folder\ followed by names split by '|'

struct HandoffRecord {
    std::uint32_t window = 0;
    std::vector<std::string> strings;
};

arc::Bytes EncodeHandoff(const HandoffRecord& record);
// False for a record that is cut short, claims more than it holds, or has
// bytes left over after its last text.
bool DecodeHandoff(const void* data, std::size_t size, HandoffRecord& record);

}  // namespace handoff
