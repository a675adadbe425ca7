#include "platform/allocator.h"

#include <malloc.h>

void LimitAllocatorPools()
{
    mallopt(M_ARENA_MAX, 2);
    // Left to itself the threshold rises to the largest block freed so far, and from then on such
    // blocks come from the pools; each preview of a big file left megabytes there for good.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
}

void ReleaseFreedMemory() { malloc_trim(0); }
