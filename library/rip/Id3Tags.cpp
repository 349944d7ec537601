#include "Id3Tags.h"

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

namespace MediaLibrary::Rip {
namespace {

void SetText(TagLib::ID3v2::Tag& tag, const char* frameId, const std::string& text)
{
    tag.removeFrames(frameId);
    if (text.empty()) return;
    auto* frame = new TagLib::ID3v2::TextIdentificationFrame(frameId, TagLib::String::UTF8);
    frame->setText(TagLib::String(text, TagLib::String::UTF8));
    tag.addFrame(frame);   // the tag owns it from here
}

// A year is four digits; anything else an entry calls a year is left out.
std::string YearText(const std::string& year)
{
    if (year.size() != 4 || year.find_first_not_of("0123456789") != std::string::npos) return {};
    return year;
}

}  // namespace

bool WriteId3Tags(const std::filesystem::path& mp3, const TrackTags& tags, std::string& failure)
{
    TagLib::MPEG::File file(mp3.c_str(), false);
    if (!file.isValid()) {
        failure = mp3.filename().string() + " cannot be read as an MP3 file for its tags";
        return false;
    }
    TagLib::ID3v2::Tag& tag = *file.ID3v2Tag(true);
    SetText(tag, "TIT2", tags.title);
    SetText(tag, "TPE1", tags.artist);
    SetText(tag, "TALB", tags.album);
    SetText(tag, "TDRC", YearText(tags.year));
    SetText(tag, "TCON", tags.genre);
    SetText(tag, "TRCK", tags.track > 0 ? std::to_string(tags.track) + "/" + std::to_string(tags.tracks) : std::string());
    if (!file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers, TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate)) {
        failure = "the tags of " + mp3.filename().string() + " cannot be saved";
        return false;
    }
    return true;
}

}  // namespace MediaLibrary::Rip
