#pragma once

#include <string>

namespace velmora::front {

enum class SourceKind { File, CdTrack };

// What a convert-list row stands for, kept with the row: the job reads this, never the texts
// the row shows.
struct ConvertRow {
    std::string sourcePath{};   // the file; for a CD track its file on the drive ("D:\Track03.cda")
    SourceKind kind = SourceKind::File;
    int trackNumber = 0;      // CD tracks, from 1
    std::string title{};        // a CD track's title, a DVD chapter's title
    int seconds = 0;            // the play length, once measured
    bool checked = false;
};

}  // namespace velmora::front
