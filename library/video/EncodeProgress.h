#pragma once

#include <string>
#include <string_view>

namespace MediaLibrary::Video {

// How far the encoder has got, read from the "time=" of the report it writes while it runs; the
// reading of the conversion running in this process is what GetEncodedSeconds answers.
class EncodeProgress {
public:
    EncodeProgress();
    ~EncodeProgress();
    EncodeProgress(const EncodeProgress&) = delete;
    EncodeProgress& operator=(const EncodeProgress&) = delete;

    // More of the report; pieces may end anywhere.
    void Read(std::string_view written);

    // Seconds of output written by the running conversion; 0 when none runs.
    static double Seconds();

private:
    std::string pending_;
};

}  // namespace MediaLibrary::Video
