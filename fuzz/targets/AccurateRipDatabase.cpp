// The AccurateRip database's answer comes from a server: the parser takes only whole submissions
// of the disc asked for, and a verdict is one the answer can give.

#include "FuzzTarget.h"
#include "accuraterip/Database.h"

namespace {

std::uint32_t Little32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t byte = 0; byte < 4 && at + byte < bytes.size(); ++byte)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + byte])) << (8 * byte);
    return value;
}

}  // namespace

VELMORA_FUZZ_TARGET(accuraterip_database)
{
    // The disc asked for is the one the answer's first submission names, so that some match.
    AccurateRip::DiscIds disc;
    disc.audioTracks = input.empty() ? 0 : static_cast<unsigned char>(input[0]);
    disc.id1 = Little32(input, 1);
    disc.id2 = Little32(input, 5);
    disc.cddb = Little32(input, 9);
    const auto database = AccurateRip::ParseDatabase(input, disc);
    constexpr std::size_t kHeader = 13, kTrack = 9;
    FUZZ_CHECK(database.submissions.size() * (kHeader + kTrack * static_cast<std::size_t>(disc.audioTracks)) <=
               input.size());
    for (const auto& submission : database.submissions)
        FUZZ_CHECK(submission.size() == static_cast<std::size_t>(disc.audioTracks));

    const std::uint32_t v1 = Little32(input, input.size() / 2), v2 = Little32(input, input.size() / 3);
    for (int track = 0; track <= disc.audioTracks + 1; ++track) {
        const auto verdict = AccurateRip::Judge(database, track, v1, v2);
        const bool known = track >= 1 && track <= disc.audioTracks && !database.submissions.empty();
        FUZZ_CHECK(verdict.verdict != AccurateRip::Verdict::NoAnswer);
        if (!known) FUZZ_CHECK(verdict.verdict == AccurateRip::Verdict::NotInDatabase);
        if (verdict.verdict == AccurateRip::Verdict::Accurate)
            FUZZ_CHECK((verdict.version == 1 || verdict.version == 2) && verdict.confidence >= 0 && verdict.confidence <= 255);
    }
}
