#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run like a crash when a property of the result breaks, naming the property, so
// that libFuzzer keeps the input.
[[noreturn]] inline void fuzzCheckFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : fuzzCheckFailed(#condition, __FILE__, __LINE__))
