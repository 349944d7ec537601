// WAV files come from anywhere: the chunk walk must stay inside the bytes it is given.

#include "FuzzTarget.h"
#include "wave/WaveHeader.h"

#include <cstring>

VELMORA_FUZZ_TARGET(wave_header)
{
    using velmora::wave::WaveProblem;
    const auto layout = velmora::wave::ParseWave(input);
    const bool riff = input.size() >= 4 && std::memcmp(input.data(), "RIFF", 4) == 0;
    FUZZ_CHECK((layout.problem == WaveProblem::NotRiff) == !riff);
    FUZZ_CHECK(layout.problem != WaveProblem::CannotOpen);
    if (!layout.IsWave()) return;
    FUZZ_CHECK(std::memcmp(input.data() + 8, "WAVE", 4) == 0);
    // The samples start after the RIFF header, a whole "fmt " chunk and the data chunk's header.
    FUZZ_CHECK(layout.dataOffset >= 12 + 8 + 16 + 8);
    FUZZ_CHECK(layout.dataOffset <= input.size() && layout.dataLength <= input.size() - layout.dataOffset);
    FUZZ_CHECK(std::memcmp(input.data() + layout.dataOffset - 8, "data", 4) == 0);
}
