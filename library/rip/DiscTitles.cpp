#include "DiscTitles.h"

#include <cdio/cdio.h>
#include <cdio/cdtext.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

namespace MediaLibrary::Rip {
namespace {

struct Chosen {
    std::string discQuery;
    DiscTitles titles;
};

std::mutex chosenMutex;
std::map<char, Chosen> chosenByDrive;

std::string CdTextField(const cdtext_t* text, cdtext_field_t field, track_t track)
{
    const char* value = cdtext_get_const(text, field, track);
    return value ? value : "";
}

char DriveKey(char drive)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(drive)));
}

}  // namespace

std::string DiscTitles::TrackTitle(std::size_t position) const
{
    return position < tracks.size() ? tracks[position] : std::string();
}

bool DiscTitles::Any() const
{
    return !album.empty() || std::any_of(tracks.begin(), tracks.end(), [](const auto& title) { return !title.empty(); });
}

std::optional<DiscTitles> ReadCdText(CdIo_t* disc)
{
    const cdtext_t* text = disc ? cdio_get_cdtext(disc) : nullptr;
    if (!text) return std::nullopt;
    DiscTitles titles{.source = "CD-TEXT",
                      .artist = CdTextField(text, CDTEXT_FIELD_PERFORMER, 0),
                      .album = CdTextField(text, CDTEXT_FIELD_TITLE, 0),
                      .genre = CdTextField(text, CDTEXT_FIELD_GENRE, 0)};
    const track_t first = cdio_get_first_track_num(disc);
    const track_t count = cdio_get_num_tracks(disc);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK) return std::nullopt;
    for (track_t track = first; track < first + count; ++track)
        titles.tracks.push_back(CdTextField(text, CDTEXT_FIELD_TITLE, track));
    if (!titles.Any()) return std::nullopt;
    return titles;
}

void RememberChosenTitles(char drive, const std::string& discQuery, DiscTitles titles)
{
    const std::lock_guard lock(chosenMutex);
    chosenByDrive[DriveKey(drive)] = {discQuery, std::move(titles)};
}

void ForgetChosenTitles(char drive)
{
    const std::lock_guard lock(chosenMutex);
    chosenByDrive.erase(DriveKey(drive));
}

std::optional<DiscTitles> ChosenTitles(char drive, const std::string& discQuery)
{
    const std::lock_guard lock(chosenMutex);
    const auto found = chosenByDrive.find(DriveKey(drive));
    if (found == chosenByDrive.end() || found->second.discQuery != discQuery) return std::nullopt;
    return found->second.titles;
}

}  // namespace MediaLibrary::Rip
