#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

[[noreturn]] void Fuzz::Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}
