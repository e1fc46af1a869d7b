#pragma once

#include <array>
#include <span>

namespace platform {

// A single-byte encoding whose bytes 0x00-0x7F are ASCII, as the Unicode
// character of each byte 0x80-0xFF.
struct MacByteTable {
    static constexpr char16_t kUndefined = 0xFFFF;
    const char* name;
    std::array<char16_t, 128> upperHalf;

    char16_t toUnicode(unsigned char byte) const {
        return byte < 0x80 ? char16_t{byte} : upperHalf[byte - 0x80u];
    }
};

// MacArabic, MacFarsi, MacCroatian, MacRomanian and MacIcelandic.
std::span<const MacByteTable> macByteTables();

}  // namespace platform
