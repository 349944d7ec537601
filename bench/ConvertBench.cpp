// Convert_Video_TO_MP4 against running ffmpeg by hand with the same arguments on a 20-second clip.

#include "BenchSupport.h"
#include "Lumetra.h"

#include <cstdio>
#include <cstring>

int main()
{
    using namespace velmora::bench;
    constexpr int kRounds = 3;
    Workspace workspace;
    const auto clip = workspace.path() / "clip.avi";
    const auto byLibrary = workspace.path() / "library.mp4";
    const auto byHand = workspace.path() / "hand.mp4";
    if (!MakeClip(clip, 20, "640x480")) {
        std::fprintf(stderr, "cannot make the clip (is ffmpeg installed?)\n");
        return 1;
    }

    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    std::strncpy(request.szSourceFile, clip.c_str(), sizeof request.szSourceFile - 1);
    std::strncpy(request.szOutputFile, byLibrary.c_str(), sizeof request.szOutputFile - 1);
    request.nAudioBitRate = 128;
    request.nSampleRate = 44100;
    request.nVideoBitRate = 800;

    const auto seconds = FastestSeconds(kRounds, {
        [&] { Convert_Video_TO_MP4(request); },
        [&] {
            std::filesystem::remove(byHand);
            RunTool("ffmpeg", {"-i", clip.string(), "-ab", "128k", "-ar", "44100", "-b", "800k", byHand.string()});
        }});
    const double library = seconds[0], hand = seconds[1];

    std::printf("20-second 640x480 clip to MP4 (fastest of %d rounds)\n", kRounds);
    std::printf("  Convert_Video_TO_MP4  %7.3f s\n", library);
    std::printf("  ffmpeg by hand        %7.3f s\n", hand);
    std::printf("  ratio: %.3f (target: within 1.05)\n", library / hand);
    return 0;
}
