#pragma once

// Keeps the C library's allocator from holding on to memory. A video decoder runs a thread per
// core; each thread would get a pool of its own, and the megabytes a finished file leaves in
// them are not reused by the next one. Large blocks (a text's pieces, a decoded picture) are
// given back to the system when freed, instead of staying in the pools, fragmented.
void LimitAllocatorPools(); // first thing in main, before any thread starts
void ReleaseFreedMemory();
