// "D:3": the drive and track a rip request names, from the window, lumetra or any caller.

#include "FuzzTarget.h"
#include "audio/CdTrack.h"

#include <algorithm>
#include <cstring>

VELMORA_FUZZ_TARGET(track_string)
{
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    // Inputs that fill the field leave it without a terminator, as a careless caller would.
    std::memcpy(request.szSourceFile, input.data(), std::min(input.size(), sizeof request.szSourceFile));
    MediaLibrary::Audio::CCDTrack rip(request);
    rip.Prepare();
    const std::string_view source(request.szSourceFile, strnlen(request.szSourceFile, sizeof request.szSourceFile));

    FUZZ_CHECK(rip.TrackNumber() >= 0 && rip.TrackNumber() <= MediaLibrary::Audio::CCDTrack::kMaxTrack);
    FUZZ_CHECK(strnlen(rip.Drive(), 3) <= 2);
    if (source.size() == sizeof request.szSourceFile) FUZZ_CHECK(rip.TrackNumber() == 0 && rip.Drive()[0] == '\0');
    if (rip.TrackNumber() > 0) {
        FUZZ_CHECK(source.substr(0, 2) == rip.Drive());
        FUZZ_CHECK(std::all_of(source.begin() + 2, source.end(), [](char c) { return c >= '0' && c <= '9'; }));
        FUZZ_CHECK(std::stoi(std::string(source.substr(2))) == rip.TrackNumber());
    }
}
