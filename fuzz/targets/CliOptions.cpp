// lumetra's words come from scripts that pass on names of files they found: each word list
// makes one command whose paths fit their fields, or a reason.

#include "FuzzTarget.h"
#include "Options.h"

#include <cstring>

namespace {

template <std::size_t Capacity>
bool Fits(const char (&field)[Capacity], const std::string& expected)
{
    return strnlen(field, Capacity) < Capacity && (expected.empty() || expected == field);
}

}  // namespace

VELMORA_FUZZ_TARGET(cli_options)
{
    using lumetra::cli::Action;
    // One word per NUL-separated part, as the program gets them.
    std::vector<std::string> words;
    for (std::string_view rest = input; !rest.empty();) {
        const auto end = rest.find('\0');
        words.emplace_back(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    const auto parsed = lumetra::cli::ParseArguments(words);
    FUZZ_CHECK(parsed.options.has_value() == parsed.error.empty());
    if (!parsed.options) return;
    const auto& options = *parsed.options;
    const auto& request = options.request;
    FUZZ_CHECK(Fits(request.szSourceFile, {}) && Fits(request.szOutputFile, {}));
    for (const auto number : {request.nAudioBitRate, request.nAudioChannels, request.nSampleRate, request.nVideoBitRate,
                              request.nWidth, request.nHeight, request.nFrameRate})
        FUZZ_CHECK(number >= 0);
    switch (options.action) {
    case Action::CdTracks:
    case Action::Cddb:
        FUZZ_CHECK(options.drive >= 'A' && options.drive <= 'Z' && options.match >= 0);
        break;
    case Action::Rip:
        FUZZ_CHECK(options.drive >= 'A' && options.drive <= 'Z' && !options.folder.empty());
        break;
    case Action::Join:
        FUZZ_CHECK(!options.joinList.empty() && options.input == options.joinList.front());
        break;
    case Action::Probe:
    case Action::Convert:
    case Action::DvdFiles:
    case Action::Mp3ToWav:
    case Action::WavToMp3:
    case Action::CdRip:
        FUZZ_CHECK(Fits(request.szSourceFile, options.input) && !options.input.empty());
        break;
    case Action::Thumbnail:
        FUZZ_CHECK(!options.input.empty() && !options.picture.empty());
        break;
    case Action::Help:
    case Action::Version:
        break;
    }
}
