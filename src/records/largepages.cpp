#include "records/largepages.h"

#include <cstdint>
#include <sys/mman.h>

void adviseLargePages(void* start, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    // Only whole pages inside the block: advice on a page shared with other data would be taken
    // for that data too.
    constexpr uintptr_t kPage = 4096;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(start) + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(kPage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)start;
    (void)bytes;
#endif
}
