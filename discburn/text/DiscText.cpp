#include "DiscText.h"

#include "log/Log.h"
#include "paths/PathParts.h"

#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/tpropertymap.h>

#include <algorithm>
#include <optional>

namespace velmora::discburn {
namespace {

// Tags longer than this say nothing a CD player can show.
constexpr std::size_t kTagLimit = 1024;

std::string Utf8(const TagLib::String& text)
{
    std::string value = text.to8Bit(true);
    if (value.size() > kTagLimit) value.resize(kTagLimit);
    return value;
}

// The code point at the start of text and its length in bytes; none for a broken sequence.
std::optional<char32_t> NextCharacter(std::string_view text, std::size_t& length)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || length > text.size()) {
        length = 1;
        return std::nullopt;
    }
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t at = 1; at < length; ++at) {
        const auto next = static_cast<unsigned char>(text[at]);
        if ((next & 0xC0) != 0x80) {
            length = at;
            return std::nullopt;
        }
        code = code << 6 | (next & 0x3F);
    }
    return code;
}

// The one value every track that has one shares; empty when they differ.
std::string Shared(const std::vector<TrackText>& tracks, std::string TrackText::*field)
{
    std::string shared;
    for (const auto& track : tracks) {
        const std::string& value = track.*field;
        if (value.empty()) continue;
        if (!shared.empty() && shared != value) return {};
        shared = value;
    }
    return shared;
}

}  // namespace

bool DiscText::Empty() const
{
    return title.empty() && performer.empty() &&
           std::all_of(tracks.begin(), tracks.end(),
                       [](const TrackText& track) { return track.title.empty() && track.performer.empty(); });
}

TrackText TrackTextOf(const std::filesystem::path& file)
{
    TrackText text;
    if (platform::LowerExtension(file.string()) == ".mp3") {
        TagLib::MPEG::File mp3(file.c_str(), false);
        if (const TagLib::Tag* tag = mp3.isValid() ? mp3.tag() : nullptr) {
            text.title = Utf8(tag->title());
            text.performer = Utf8(tag->artist());
            text.album = Utf8(tag->album());
            const auto albumArtist = mp3.properties()["ALBUMARTIST"];
            if (!albumArtist.isEmpty()) text.albumPerformer = Utf8(albumArtist.front());
        } else {
            LogMessage(2, "No tags could be read from %s", file.c_str());
        }
    }
    if (text.title.empty()) text.title = file.stem().string();
    return text;
}

DiscText DiscTextOf(std::vector<TrackText> tracks)
{
    DiscText disc;
    disc.title = Shared(tracks, &TrackText::album);
    disc.performer = Shared(tracks, &TrackText::albumPerformer);
    if (disc.performer.empty()) disc.performer = Shared(tracks, &TrackText::performer);
    disc.tracks = std::move(tracks);
    return disc;
}

std::string Latin1Text(std::string_view utf8, std::size_t limit)
{
    std::string latin1;
    while (!utf8.empty() && latin1.size() < limit) {
        std::size_t length = 0;
        const auto code = NextCharacter(utf8, length);
        utf8.remove_prefix(length);
        if (!code || *code > 0xFF) latin1 += '?';
        else if (*code < 0x20 || (*code >= 0x7F && *code < 0xA0)) latin1 += ' ';
        else latin1 += static_cast<char>(*code);
    }
    return latin1;
}

std::string CueSheetText(std::string_view utf8, std::size_t limit)
{
    std::string text = Latin1Text(utf8, limit);
    std::replace(text.begin(), text.end(), '"', '\'');
    return text;
}

}  // namespace velmora::discburn
