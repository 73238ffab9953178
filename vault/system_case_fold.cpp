#include "vault/system_case_fold.h"

#include <windows.h>

namespace vault {

const CaseFold& SystemCaseFold() {
    static const CaseFold table = [] {
        CaseFold t = AsciiCaseFold();
        // One byte at a time: a lead byte of a double-byte code page stays
        // as it is, since alone it is no character.
        for (int b = 0x80; b < 256; ++b) {
            char c = static_cast<char>(b);
            if (IsDBCSLeadByte(static_cast<BYTE>(b))) continue;
            CharLowerBuffA(&c, 1);
            t[b] = static_cast<std::uint8_t>(c);
        }
        return t;
    }();
    return table;
}

}  // namespace vault
