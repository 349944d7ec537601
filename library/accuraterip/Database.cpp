#include "Database.h"

namespace AccurateRip {
namespace {

constexpr std::size_t kHeaderBytes = 13;   // track count, id1, id2, CDDB id
constexpr std::size_t kTrackBytes = 9;     // confidence, checksum, offset-finding checksum

std::uint32_t Little32(std::string_view bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int byte = 3; byte >= 0; --byte) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(byte)]);
    return value;
}

}  // namespace

Database ParseDatabase(std::string_view answer, const DiscIds& disc)
{
    Database database;
    std::size_t at = 0;
    while (answer.size() - at >= kHeaderBytes) {
        const auto tracks = static_cast<unsigned char>(answer[at]);
        const std::size_t length = kHeaderBytes + tracks * kTrackBytes;
        if (answer.size() - at < length) break;
        const bool ours = tracks == disc.audioTracks && Little32(answer, at + 1) == disc.id1 &&
                          Little32(answer, at + 5) == disc.id2 && Little32(answer, at + 9) == disc.cddb;
        if (ours) {
            auto& submission = database.submissions.emplace_back();
            for (std::size_t track = 0; track < tracks; ++track) {
                const std::size_t entry = at + kHeaderBytes + track * kTrackBytes;
                submission.push_back({static_cast<unsigned char>(answer[entry]), Little32(answer, entry + 1)});
            }
        }
        at += length;
    }
    return database;
}

std::string TrackVerdict::Text(const std::string& noAnswerReason) const
{
    switch (verdict) {
    case Verdict::Accurate:
        return "accurate (confidence " + std::to_string(confidence) + ", v" + std::to_string(version) + ")";
    case Verdict::NotAccurate: return "not accurate";
    case Verdict::NotInDatabase: return "not in the database";
    case Verdict::NoAnswer: break;
    }
    return noAnswerReason.empty() ? "not verified" : "not verified: " + noAnswerReason;
}

TrackVerdict Judge(const Database& database, int track, std::uint32_t v1, std::uint32_t v2)
{
    TrackVerdict best{Verdict::NotInDatabase};
    for (const auto& submission : database.submissions) {
        if (track < 1 || static_cast<std::size_t>(track) > submission.size()) continue;
        const TrackEntry& entry = submission[static_cast<std::size_t>(track - 1)];
        if (best.verdict == Verdict::NotInDatabase) best.verdict = Verdict::NotAccurate;
        for (const auto& [checksum, version] : {std::pair{v2, 2}, std::pair{v1, 1}}) {
            if (entry.checksum != checksum) continue;
            if (best.verdict != Verdict::Accurate || entry.confidence > best.confidence)
                best = {Verdict::Accurate, entry.confidence, version};
        }
    }
    return best;
}

}  // namespace AccurateRip
