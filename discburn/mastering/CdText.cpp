#include "LibburnParts.h"

#include "log/Log.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace velmora::discburn {
namespace {

// Characters per text: a player's line first, shorter when the lead-in cannot hold them all.
constexpr std::size_t kTextLimits[] = {80, 40, 20, 10};

// Sets one pack of block 0 on a session or a track; an empty text is left off unless kept.
template <typename Owner>
bool SetPack(int (*set)(Owner*, int, int, char*, unsigned char*, int, int), Owner* owner, const char* pack,
             const std::string& utf8, std::size_t limit, bool keepEmpty = false)
{
    std::string text = Latin1Text(utf8, limit);
    if (text.empty() && !keepEmpty) return true;
    return set(owner, 0, 0, const_cast<char*>(pack), reinterpret_cast<unsigned char*>(text.data()),
               static_cast<int>(text.size() + 1), 0) > 0;
}

bool AnyTrackHas(const DiscText& text, std::string TrackText::*field)
{
    return std::any_of(text.tracks.begin(), text.tracks.end(),
                       [field](const TrackText& track) { return !(track.*field).empty(); });
}

// Sets the text once: libburn's attributes are not to be set again after they are disposed of.
bool SetText(burn::burn_session* session, const DiscText& text, std::size_t limit)
{
    // libburn makes the tracks' packs of a kind only when the session has that kind too.
    bool set = SetPack(burn::burn_session_set_cdtext, session, "TITLE", text.title, limit,
                       AnyTrackHas(text, &TrackText::title)) &&
               SetPack(burn::burn_session_set_cdtext, session, "PERFORMER", text.performer, limit,
                       AnyTrackHas(text, &TrackText::performer));
    int count = 0;
    burn::burn_track** tracks = burn::burn_session_get_tracks(session, &count);
    for (int at = 0; set && at < count && static_cast<std::size_t>(at) < text.tracks.size(); ++at) {
        const TrackText& track = text.tracks[static_cast<std::size_t>(at)];
        set = SetPack(burn::burn_track_set_cdtext, tracks[at], "TITLE", track.title, limit) &&
              SetPack(burn::burn_track_set_cdtext, tracks[at], "PERFORMER", track.performer, limit);
    }
    return set;
}

// A session of audio tracks without data, to try the text on.
class TrialSession {
public:
    explicit TrialSession(std::size_t trackCount) : session_(burn::burn_session_create())
    {
        for (std::size_t at = 0; at < trackCount; ++at) {
            burn::burn_track* track = burn::burn_track_create();
            burn::burn_track_define_data(track, 0, 0, 1, BURN_AUDIO);
            burn::burn_session_add_track(session_, track, BURN_POS_END);
            burn::burn_track_free(track);
        }
    }
    ~TrialSession() { burn::burn_session_free(session_); }
    TrialSession(const TrialSession&) = delete;
    TrialSession& operator=(const TrialSession&) = delete;
    burn::burn_session* get() const { return session_; }

private:
    burn::burn_session* session_;
};

// The longest texts whose packs fit into the lead-in; none when even the shortest do not.
std::optional<std::size_t> FittingLimit(const DiscText& text)
{
    for (const std::size_t limit : kTextLimits) {
        const TrialSession trial(text.tracks.size());
        if (SetText(trial.get(), text, limit) && burn::burn_cdtext_from_session(trial.get(), nullptr, nullptr, 1) >= 0)
            return limit;
    }
    return std::nullopt;
}

}  // namespace

bool ApplyDiscText(burn::burn_session* session, const DiscText& text)
{
    if (text.Empty()) return true;
    const auto limit = FittingLimit(text);
    TakeLibburnFailure();
    if (!limit) {
        LogMessage(1, "The disc's CD-TEXT does not fit into its lead-in; the disc is written without it");
        return false;
    }
    return SetText(session, text, *limit);
}

std::vector<unsigned char> CdTextPacks(const DiscText& text)
{
    std::vector<unsigned char> packs;
    if (!StartMasteringLibraries()) return packs;
    const TrialSession session(text.tracks.size());
    unsigned char* made = nullptr;
    int count = 0;
    if (ApplyDiscText(session.get(), text) && burn::burn_cdtext_from_session(session.get(), &made, &count, 0) > 0 && made)
        packs.assign(made, made + static_cast<std::size_t>(count) * 18);
    std::free(made);
    TakeLibburnFailure();
    return packs;
}

}  // namespace velmora::discburn
