#include "inventory/extended_math.h"

namespace tw::inventory {

namespace {

#if defined(__GNUC__) && (defined(__i386__) || defined(__x86_64__))
// Windows starts threads with the x87 unit rounding to 53 bits; the runtime
// may or may not widen it. Each operation runs with the full 64 bits and puts
// the unit back as it found it.
class FullPrecision {
public:
    FullPrecision() {
        __asm__ volatile("fnstcw %0" : "=m"(saved_)::"memory");
        unsigned short extended = static_cast<unsigned short>(saved_ | 0x0300);
        __asm__ volatile("fldcw %0" ::"m"(extended) : "memory");
    }
    ~FullPrecision() { __asm__ volatile("fldcw %0" ::"m"(saved_) : "memory"); }
    FullPrecision(const FullPrecision&) = delete;
    FullPrecision& operator=(const FullPrecision&) = delete;

private:
    unsigned short saved_ = 0;
};

// Keeps the compiler from moving the arithmetic on `x` out of the guarded span.
void Pin(long double& x) { __asm__ volatile("" : "+m"(x)); }
#else
struct FullPrecision {};
void Pin(long double&) {}
#endif

template <class Op>
long double Guarded(long double a, long double b, Op op) {
    FullPrecision precision;
    Pin(a);
    Pin(b);
    long double result = op(a, b);
    Pin(result);
    return result;
}

}  // namespace

long double ExtendedSub(long double a, long double b) {
    return Guarded(a, b, [](long double x, long double y) { return x - y; });
}

long double ExtendedMul(long double a, long double b) {
    return Guarded(a, b, [](long double x, long double y) { return x * y; });
}

long double ExtendedDiv(long double a, long double b) {
    return Guarded(a, b, [](long double x, long double y) { return x / y; });
}

}  // namespace tw::inventory
