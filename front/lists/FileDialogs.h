#pragma once

#include <QString>

#include <string>
#include <vector>

class QWidget;

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

// The save dialog (it asks before overwriting). The 1-based index of the filter chosen with the
// path in `path`, or -1 with `path` empty when cancelled.
int ChooseSaveFile(QWidget* owner, std::string& path, const std::vector<FileFilter>& filters);

// An existing ISO image: 1 with its path, or -1.
int ChooseIsoFile(std::string& path, QWidget* owner);

}  // namespace velmora::front
