#pragma once

#include <QString>

#include <cstdint>

namespace MediaLibrary::Header {
struct MEDIACONVERSIONINFO;
}

namespace velmora::front {

struct WindowControls;

// The Sound Quality and Video Quality fields and the Output Info box they feed.
class QualityControls {
public:
    explicit QualityControls(const WindowControls& controls) : controls_(controls) {}

    // The sample and frame rate lists with their choices, the first selected.
    void FillRateLists();
    // The first video's own figures into the fields.
    void Show(const MediaLibrary::Header::MEDIACONVERSIONINFO& figures);
    // The fields into a request, as the mode uses them; with defaults (a join), fields left at
    // zero take the first file's figures.
    void Collect(int mode, MediaLibrary::Header::MEDIACONVERSIONINFO& request,
                 const MediaLibrary::Header::MEDIACONVERSIONINFO* defaults) const;

    // Audio plus video kbit/s, as last shown or typed.
    int TotalBitRate() const { return totalBitRate_; }
    void ResetBitRate() { totalBitRate_ = 0; }
    // The bit-rate fields were edited.
    void ReadBitRate();
    // "File Size : ..." and "Duration  : ..." for the list's total play length.
    void ShowOutputInfo(std::int64_t totalSeconds) const;

private:
    int EditNumber(int id) const;

    const WindowControls& controls_;
    int totalBitRate_ = 0;
};

}  // namespace velmora::front
