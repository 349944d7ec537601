#pragma once

// The numbers of the window's dialogs and controls. A control's objectName is its number, so
// tests and accessibility tools find it by that; everywhere else it is named here.

#include <QString>

namespace velmora::front {

// "1030" for control 1030: the objectName of a dialog or control.
inline QString ControlName(int id)
{
    return QString::number(id);
}

namespace dialog {
inline constexpr int kMainWindow = 130;
inline constexpr int kPreview = 154;
inline constexpr int kCddbMatches = 155;
inline constexpr int kRecorderSelector = 156;
}  // namespace dialog

namespace control {

// ---- Main window: the buttons on the left ----
inline constexpr int kAudioConverterButton = 1019;
inline constexpr int kVideoConverterButton = 1021;
inline constexpr int kDvdCreatorButton = 1023;
inline constexpr int kAudioBurnerButton = 1022;
inline constexpr int kCdDataBurnerButton = 1024;
inline constexpr int kDvdDataBurnerButton = 1025;
inline constexpr int kHelpButton = 1050;

// ---- Main window: the work area ----
inline constexpr int kBackground = 1064;
inline constexpr int kWelcomeText = 1031;
inline constexpr int kHeading = 1032;
inline constexpr int kDriveLabel = 1028;
inline constexpr int kDriveList = 1029;
inline constexpr int kConvertList = 1030;
inline constexpr int kBurnList = 1057;
inline constexpr int kAddFilesButton = 1053;
inline constexpr int kAddFolderButton = 1056;
inline constexpr int kRemoveFilesButton = 1058;

// "Output Formats" and its radio buttons, one group: the format of a converter mode, or the
// option of a burner mode (Copy Disk, Create ISO File, Burn ISO File; CD, DVD, DVD-DL).
inline constexpr int kFormatGroup = 1033;
inline constexpr int kFirstOptionRadio = 1034;    // AVI, MP3, Only VOB files, Copy Disk, CD 700 MB
inline constexpr int kSecondOptionRadio = 1035;   // MPG, WAV, All DVD files, Create ISO File, DVD 4.7 GB
inline constexpr int kThirdOptionRadio = 1040;    // FLV, Convert and Burn, Burn ISO File, DVD-DL 8.5 GB
inline constexpr int kM4vRadio = 1059;
inline constexpr int kMp4Radio = 1060;
inline constexpr int kMovRadio = 1061;

// "Sound Quality"
inline constexpr int kSoundGroup = 1062;
inline constexpr int kAudioBitRateLabel = 1065;
inline constexpr int kAudioBitRateEdit = 1063;
inline constexpr int kAudioBitRateUnit = 1066;
inline constexpr int kChannelsLabel = 1068;
inline constexpr int kChannelsEdit = 1067;
inline constexpr int kSampleRateLabel = 1071;
inline constexpr int kSampleRateList = 1070;
inline constexpr int kSampleRateUnit = 1072;

// "Video Quality"
inline constexpr int kVideoGroup = 1036;
inline constexpr int kVideoBitRateLabel = 1037;
inline constexpr int kVideoBitRateEdit = 1038;
inline constexpr int kVideoBitRateUnit = 1039;
inline constexpr int kFrameRateLabel = 1083;
inline constexpr int kFrameRateList = 1082;
inline constexpr int kFrameRateUnit = 1084;
inline constexpr int kVideoSizeLabel = 1041;
inline constexpr int kWidthEdit = 1042;
inline constexpr int kVideoSizeTimes = 1043;
inline constexpr int kHeightEdit = 1044;

// Options and output information
inline constexpr int kOptionsGroup = 1079;
inline constexpr int kJoinFilesCheck = 1075;
inline constexpr int kBurnOutputCheck = 1080;
inline constexpr int kVerifyCheck = 1086;   // the burner modes: read the written data back
inline constexpr int kOutputInfoGroup = 1078;
inline constexpr int kFileSizeText = 1069;
inline constexpr int kDurationText = 1074;

// DVD Creator: "DVD Menu" and its audio and video qualities
inline constexpr int kDvdMenuGroup = 1097;
inline constexpr int kDvdAudioBestRadio = 1045;
inline constexpr int kDvdAudioGoodRadio = 1046;
inline constexpr int kDvdAudioLowRadio = 1047;
inline constexpr int kDvdVideoBestRadio = 1048;
inline constexpr int kDvdVideoGoodRadio = 1049;
inline constexpr int kDvdVideoLowRadio = 1073;

// The usage bar's labels, the progress bar and the status line
inline constexpr int kUsageLeftLabel = 1054;
inline constexpr int kUsageRightLabel = 1055;
inline constexpr int kProgressBar = 1020;
inline constexpr int kStatusText = 1026;

inline constexpr int kStartButton = 1051;
inline constexpr int kExitButton = 1052;

// ---- The CDDB match list (dialog 155) ----
inline constexpr int kMatchList = 1099;
inline constexpr int kMatchOkButton = 1102;
inline constexpr int kMatchCancelButton = 1103;

// ---- The recorder selector (dialog 156); its numbers are its own, apart from the main window's ----
inline constexpr int kSelectorRecorderList = 1080;
inline constexpr int kSelectorLabel = 1081;
inline constexpr int kSelectorPrompt = 1082;
inline constexpr int kSelectorBurnButton = 1083;
inline constexpr int kSelectorCancelButton = 1084;

}  // namespace control

// Commands posted to the main window, answered as a click on the button of the same number.
namespace command {
inline constexpr int kBurnPendingOutputs = control::kDvdDataBurnerButton;   // DVD Data Burner takes them over
inline constexpr int kStart = control::kStartButton;
}  // namespace command

}  // namespace velmora::front
