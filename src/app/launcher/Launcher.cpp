// Starts the program named by QUILLMAR_LAUNCH_TARGET, which lies beside this
// one, with the same arguments and the allocator settings of
// platform/LaunchEnvironment.h (read by the C library only at a start).
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/LaunchEnvironment.h"

int main(int, char** argv) {
    const char* name = argv[0] != nullptr ? argv[0] : "quillmar";
    std::string self(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size());
    if (length <= 0 || length >= ssize_t(self.size())) {
        std::fprintf(stderr, "%s: cannot find where it is installed: %s\n", name,
                     std::strerror(errno));
        return 127;
    }
    self.resize(std::size_t(length));
    const std::string target = self.substr(0, self.rfind('/') + 1) + QUILLMAR_LAUNCH_TARGET;
    platform::launch::prepare();
    // The name stays the one the user ran: it names the application's windows.
    execv(target.c_str(), argv);
    std::fprintf(stderr, "%s: cannot start %s: %s\n", name, target.c_str(), std::strerror(errno));
    return 127;
}
