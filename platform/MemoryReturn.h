#pragma once

namespace quorrel::platform {

// Has the allocator give every large block (a data file's bytes, a long list's sort keys)
// back to the system when it is freed, for the whole run. Without it, glibc learns from
// the first large block freed to keep the later ones, and a window with 100,000 profiles
// holds several megabytes it no longer uses. Call it once, early.
void returnLargeBlocksAtOnce();

}  // namespace quorrel::platform
