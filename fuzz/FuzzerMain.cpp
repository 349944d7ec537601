// The libFuzzer entry of one fuzz program: the target named when it was built.

#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto target = velmora::fuzz::Targets().at(VELMORA_FUZZ_TARGET_NAME);
    target(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
