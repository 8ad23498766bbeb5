#pragma once
// Whether the processor has AVX2, asked once for every byte scan of the viewer
// that takes 32 bytes at a time where it can. No Qt here.

#if defined(__x86_64__) && defined(__GNUC__)
#define TLACSUB_AVX2 1

namespace cpu {

// The processor's features are read first, since this may run before the
// library's own constructors.
inline const bool kHasAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();

} // namespace cpu
#endif
