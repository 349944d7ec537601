#include "LibburnParts.h"

#include "log/Log.h"

#include <cstdlib>

namespace velmora::discburn {
namespace {

// Characters per text: a player's line first, shorter when the lead-in cannot hold them all.
constexpr std::size_t kTextLimits[] = {80, 40, 16};

// Sets one pack of block 0 on a session or a track; an empty text is left off.
template <typename Owner>
bool SetPack(int (*set)(Owner*, int, int, char*, unsigned char*, int, int), Owner* owner, const char* pack,
             const std::string& utf8, std::size_t limit)
{
    std::string text = Latin1Text(utf8, limit);
    if (text.empty()) return true;
    return set(owner, 0, 0, const_cast<char*>(pack), reinterpret_cast<unsigned char*>(text.data()),
               static_cast<int>(text.size() + 1), 0) > 0;
}

void DropText(burn::burn_session* session)
{
    burn::burn_session_dispose_cdtext(session, 0);
    int count = 0;
    burn::burn_track** tracks = burn::burn_session_get_tracks(session, &count);
    for (int at = 0; at < count; ++at) burn::burn_track_dispose_cdtext(tracks[at], 0);
}

bool SetText(burn::burn_session* session, const DiscText& text, std::size_t limit)
{
    DropText(session);
    bool set = SetPack(burn::burn_session_set_cdtext, session, "TITLE", text.title, limit) &&
               SetPack(burn::burn_session_set_cdtext, session, "PERFORMER", text.performer, limit);
    int count = 0;
    burn::burn_track** tracks = burn::burn_session_get_tracks(session, &count);
    for (int at = 0; set && at < count && static_cast<std::size_t>(at) < text.tracks.size(); ++at) {
        const TrackText& track = text.tracks[static_cast<std::size_t>(at)];
        set = SetPack(burn::burn_track_set_cdtext, tracks[at], "TITLE", track.title, limit) &&
              SetPack(burn::burn_track_set_cdtext, tracks[at], "PERFORMER", track.performer, limit);
    }
    return set && burn::burn_cdtext_from_session(session, nullptr, nullptr, 1) >= 0;
}

}  // namespace

bool ApplyDiscText(burn::burn_session* session, const DiscText& text)
{
    if (text.Empty()) return true;
    for (const std::size_t limit : kTextLimits)
        if (SetText(session, text, limit)) return true;
    DropText(session);
    TakeLibburnFailure();
    LogMessage(1, "The disc's CD-TEXT does not fit into its lead-in; the disc is written without it");
    return false;
}

std::vector<unsigned char> CdTextPacks(const DiscText& text)
{
    std::vector<unsigned char> packs;
    if (!StartMasteringLibraries()) return packs;
    burn::burn_session* session = burn::burn_session_create();
    for (std::size_t at = 0; at < text.tracks.size(); ++at) {
        burn::burn_track* track = burn::burn_track_create();
        burn::burn_track_define_data(track, 0, 0, 1, BURN_AUDIO);
        burn::burn_session_add_track(session, track, BURN_POS_END);
        burn::burn_track_free(track);
    }
    unsigned char* made = nullptr;
    int count = 0;
    if (ApplyDiscText(session, text) && burn::burn_cdtext_from_session(session, &made, &count, 0) > 0 && made)
        packs.assign(made, made + static_cast<std::size_t>(count) * 18);
    std::free(made);
    burn::burn_session_free(session);
    TakeLibburnFailure();
    return packs;
}

}  // namespace velmora::discburn
