#include "platform/allocator.h"

#include <malloc.h>

void LimitAllocatorPools() { mallopt(M_ARENA_MAX, 2); }

void ReleaseFreedMemory() { malloc_trim(0); }
