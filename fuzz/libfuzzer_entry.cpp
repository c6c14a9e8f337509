// One libFuzzer program per entry point: TW_FUZZ_ENTRY names it.
#include "fuzz/targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return tw::fuzz::TW_FUZZ_ENTRY(data, size);
}
