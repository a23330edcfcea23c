#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep: when it does not, the property is named on stderr and the
// process aborts, which libFuzzer reports as a finding with the input that broke it.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}
