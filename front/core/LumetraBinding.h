#pragma once

#include "Lumetra.h"

#include <array>
#include <atomic>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Every export the window binds: its name in the library and the type it is called through.
// The enum, the names, the typed accessors and the checks below are all made from this list.
#define VELMORA_BOUND_EXPORTS(X)                            \
    X(GET_CD_TEXT_INFO, GetCdTextInfoFn)                   \
    X(GenerateDVDFiles, GenerateDvdFilesFn)                \
    X(GetDefaultPara, GetDefaultParaFn)                    \
    X(Convert_Join_To_Single, JoinFn)                      \
    X(GeTThumbNailForVideoFile, ThumbnailFn)               \
    X(ReadCDDB, ReadCDDBFn)                                \
    X(GetCDEntry, GetCDEntryFn)                            \
    X(Convert_Wav_TO_MP3, ConvertFn)                       \
    X(Convert_CD_TO_MP3, ConvertFn)                        \
    X(Convert_MP3_TO_WAV, ConvertFn)                       \
    X(Convert_Video_TO_AVI, ConvertFn)                     \
    X(Convert_Video_TO_MPG, ConvertFn)                     \
    X(Convert_Video_TO_FLV, ConvertFn)                     \
    X(Convert_Video_TO_M4V, ConvertFn)                     \
    X(Convert_Video_TO_MP4, ConvertFn)                     \
    X(Convert_Video_TO_MOV, ConvertFn)                     \
    X(Convert_Video_TO_VOB, ConvertFn)                     \
    X(Convert_Video_TO_DVD, ConvertFn)                     \
    X(GetMediaFacts, GetMediaFactsFn)                      \
    X(GetLastFailure, GetLastFailureFn)                    \
    X(GetEncodedSeconds, GetEncodedSecondsFn)              \
    X(CancelConversions, CancelConversionsFn)              \
    X(BeginDiscRip, BeginDiscRipFn)                        \
    X(RipDiscTrack, RipDiscTrackFn)                        \
    X(EndDiscRip, EndDiscRipFn)

namespace velmora::front {

enum class Export : int {
#define VELMORA_EXPORT_ENUM(name, type) name,
    VELMORA_BOUND_EXPORTS(VELMORA_EXPORT_ENUM)
#undef VELMORA_EXPORT_ENUM
};

// The library's exports, bound by name into process-wide pointers that every thread of the
// window reads. An export the library does not provide stays unbound, and the operations that
// need it refuse instead of calling it.
class LumetraBinding {
public:
    static constexpr std::array kNames{
#define VELMORA_EXPORT_NAME(name, type) std::string_view(#name),
        VELMORA_BOUND_EXPORTS(VELMORA_EXPORT_NAME)
#undef VELMORA_EXPORT_NAME
    };
    static std::string_view Name(Export which) { return kNames[static_cast<std::size_t>(which)]; }

    // Loads the library (it is never unloaded) and binds every name anew. False when it cannot be loaded.
    bool Bind(const std::filesystem::path& library);

    bool Has(Export which) const { return Entry(which) != nullptr; }
    std::vector<std::string> Unbound() const;

    // One typed accessor per export, named as the export; null when it is not bound.
#define VELMORA_EXPORT_ACCESSOR(name, type) \
    ::Lumetra::type name() const { return reinterpret_cast<::Lumetra::type>(Entry(Export::name)); }
    VELMORA_BOUND_EXPORTS(VELMORA_EXPORT_ACCESSOR)
#undef VELMORA_EXPORT_ACCESSOR

    // The conversion export chosen at run time (a format radio, a kind of source); null when
    // it is not bound or not a conversion.
    ::Lumetra::ConvertFn Converter(Export which) const;

private:
    void* Entry(Export which) const { return entries_[static_cast<std::size_t>(which)].load(); }

    std::array<std::atomic<void*>, kNames.size()> entries_{};
};

// The one binding of the process.
LumetraBinding& Lumetra();

// Why the calling thread's last call into the library failed, in its words; empty when it did not
// fail or cannot say.
std::string LastLibraryFailure();

// libLumetra.so beside the executable (the build tree), else the installed library by its soname.
std::filesystem::path DefaultLibraryPath();

}  // namespace velmora::front
