// Heap allocations made by the project's own objects (malloc, calloc,
// realloc, operator new), counted through link-time wrapping. Calls made
// inside shared libraries such as Mesa are not seen.
#pragma once

namespace vmtest {

long Allocations();

}  // namespace vmtest
