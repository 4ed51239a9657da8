// Whether the vector (AVX2) paths of the marker search and the splice run.
#pragma once

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define PW_VECTOR_X86 1
#include <immintrin.h>
#define PW_AVX2 __attribute__((target("avx2")))
#else
#define PW_VECTOR_X86 0
#endif

namespace pw {

// True where the processor has AVX2 and tests have not asked for the portable
// paths.
bool UseAvx2();

}  // namespace pw
