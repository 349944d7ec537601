#pragma once

#include "Lumetra.h"

#include <string>
#include <vector>

namespace MediaLibrary::Video {

// Joins the listed files into the request's source file, converts that into its output file as
// the video converter does (code 11: the DVD command) and deletes the joined file. An empty list
// converts nothing. Returns the conversion's result.
int JoinAndConvert(const Header::MEDIACONVERSIONINFO& request, const std::vector<std::string>& paths);

}  // namespace MediaLibrary::Video
