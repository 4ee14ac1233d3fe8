#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run at a violated property and names it, so that libFuzzer keeps the input as a
// finding just as it keeps one that crashes.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__,             \
                         #condition);                                                              \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
