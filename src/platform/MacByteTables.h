#pragma once

#include <array>
#include <span>

namespace platform {

// A single-byte encoding as the Unicode character of each byte value.
struct MacByteTable {
    static constexpr char16_t kUndefined = 0xFFFF;
    const char* name;
    std::array<char16_t, 256> toUnicode;
};

// MacArabic, MacFarsi, MacCroatian and MacRomanian.
std::span<const MacByteTable> macByteTables();

}  // namespace platform
