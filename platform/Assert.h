#pragma once
// Assertions of the internal invariants that a fault would otherwise break in
// silence (a line pointing past the text, a reversed selection, an order block
// that lost count). They are compiled in where the build defines
// TLACSUB_ASSERTIONS, which every build with tests or fuzzers does; a package
// built without tests leaves them out. A broken invariant ends the program at
// once with the file, the line and the condition on standard error.
//
// A macro, so that the condition is not even evaluated where assertions are
// off, and so that the message can name it.

namespace platform {

#if defined(TLACSUB_ASSERTIONS)
inline constexpr bool kAssertionsEnabled = true;
#else
inline constexpr bool kAssertionsEnabled = false;
#endif

// Writes "file:line: invariant broken: condition" and aborts.
[[noreturn]] void AssertionFailed(const char* condition, const char* file, int line) noexcept;

} // namespace platform

#if defined(TLACSUB_ASSERTIONS)
#define TLACSUB_ASSERT(condition)                                                                  \
    (static_cast<bool>(condition) ? static_cast<void>(0)                                           \
                                  : ::platform::AssertionFailed(#condition, __FILE__, __LINE__))
#else
// Still compiled, never run: the names it uses count as used.
#define TLACSUB_ASSERT(condition) static_cast<void>(sizeof(static_cast<bool>(condition)))
#endif
