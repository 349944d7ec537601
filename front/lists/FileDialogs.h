#pragma once

#include <QString>

#include <vector>

namespace velmora::front {

struct FileFilter {
    const char* display;
    const char* pattern;   // patterns separated by ';'
};

inline constexpr FileFilter kAudioFilesFilter{"Audio Files", "*.wav;*.mp3"};
inline constexpr FileFilter kVideoFilesFilter{"Video Files(avi, mpg)", "*.avi;*.mpg"};
inline constexpr FileFilter kAviFilesFilter{"AVI Files", "*.avi"};
inline constexpr FileFilter kAllFilesFilter{"All Files(*.*)", "*.*"};
inline constexpr FileFilter kConvertedFileFilter{"Converted File", "*.*"};
inline constexpr FileFilter kIsoFilesFilter{"ISO Files", "*.iso"};

// The filters in the file dialog's own notation: "Audio Files (*.wav *.mp3);;...".
QString DialogFilter(const std::vector<FileFilter>& filters);

}  // namespace velmora::front
