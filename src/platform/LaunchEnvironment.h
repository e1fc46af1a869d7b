#pragma once

// The C library reads its allocator settings only when a program starts, so
// the programs that open large files are started by a small launcher
// (src/app/launcher/) that sets them and then runs the real program beside
// it. The real program, first thing, puts the environment back as it was, so
// that the tools it starts in turn get the user's own. Plain C++: the
// launcher links nothing else.
#include <cstdlib>
#include <string>

namespace platform::launch {

// Each thread's heap grows in large steps, in transparent huge pages where
// the system gives them on request: a large load makes hundreds of thousands
// of small blocks on several threads, and took a page fault for every page
// of 4 KiB.
inline constexpr const char* kTunables = "glibc.malloc.hugetlb=1:glibc.malloc.top_pad=67108864";
inline constexpr const char* kTunablesVariable = "GLIBC_TUNABLES";
// What that variable held before the launcher: "=" and its value, or empty
// when it was not set.
inline constexpr const char* kBeforeVariable = "QUILLMAR_GLIBC_TUNABLES_BEFORE";

// Ours first, the user's own after them: where both name a setting, the
// user's wins.
inline std::string tunablesAfter(const char* before) {
    std::string value = kTunables;
    if (before != nullptr && *before != '\0') {
        value += ':';
        value += before;
    }
    return value;
}

// In the launcher, before it runs the program.
inline void prepare() {
    const char* before = std::getenv(kTunablesVariable);
    const std::string saved = before != nullptr ? std::string("=") + before : std::string();
    const std::string tunables = tunablesAfter(before);
    setenv(kBeforeVariable, saved.c_str(), 1);
    setenv(kTunablesVariable, tunables.c_str(), 1);
}

// In the program, first thing; nothing changes when no launcher started it.
inline void restore() {
    const char* saved = std::getenv(kBeforeVariable);
    if (saved == nullptr) return;
    if (*saved == '=')
        setenv(kTunablesVariable, saved + 1, 1);
    else
        unsetenv(kTunablesVariable);
    unsetenv(kBeforeVariable);
}

}  // namespace platform::launch
