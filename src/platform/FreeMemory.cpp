#include "platform/FreeMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void releaseFreePages() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace platform
