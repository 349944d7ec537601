#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::front {

// The library's exports, bound by name into process-wide pointers that every thread of the
// front end reads. An export the library does not provide stays unbound, and the operations
// that need it refuse instead of calling it.
class LumetraBinding {
public:
    static constexpr std::array<std::string_view, 19> kExportNames{
        "GET_CD_TEXT_INFO",     "GenerateDVDFiles",     "GetPlayLength",        "GetDefaultPara",
        "Convert_Join_To_Single", "GeTThumbNailForVideoFile", "ReadCDDB",        "GetCDEntry",
        "Convert_Wav_TO_MP3",   "Convert_CD_TO_MP3",    "Convert_MP3_TO_WAV",   "Convert_Video_TO_AVI",
        "Convert_Video_TO_MPG", "Convert_Video_TO_FLV", "Convert_Video_TO_M4V", "Convert_Video_TO_MP4",
        "Convert_Video_TO_MOV", "Convert_Video_TO_VOB", "Convert_Video_TO_DVD",
    };

    // Loads the library (it is never unloaded) and binds every name anew. False when it cannot be loaded.
    bool Bind(const std::filesystem::path& library);

    // Null when the export is not bound.
    void* Find(std::string_view name) const;
    template <typename Function>
    Function Get(std::string_view name) const
    {
        return reinterpret_cast<Function>(Find(name));
    }
    std::vector<std::string> Unbound() const;

private:
    std::array<std::atomic<void*>, kExportNames.size()> entries_{};
};

// The one binding of the process.
LumetraBinding& Lumetra();

// libLumetra.so beside the executable.
std::filesystem::path DefaultLibraryPath();

}  // namespace velmora::front
