#pragma once

#include "Lumetra.h"

#include <string>
#include <vector>

namespace MediaLibrary::Video {

// Puts the listed files end to end, in list order, through the encoder and converts them into
// the request's output file as the video converter does (code 11: the DVD command). Clips may
// differ in picture size, frame rate, sample rate or even lack a sound track: each is brought to
// the first clip's form (or the request's figures) before they are joined. The request's source
// field is not used. An empty list converts nothing. Returns 0; the reason of a failure is the
// calling thread's last failure.
int JoinAndConvert(const Header::MEDIACONVERSIONINFO& request, const std::vector<std::string>& paths);

}  // namespace MediaLibrary::Video
