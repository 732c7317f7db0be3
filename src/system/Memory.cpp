#include "system/Memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vastrel {

void ReturnFreedMemoryToSystem() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace vastrel
