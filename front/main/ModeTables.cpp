#include "ModeTables.h"

#include "core/ControlIds.h"
#include "core/UiStrings.h"

#include <array>
#include <stdexcept>

namespace velmora::front {

using namespace control;

const ModeControls& ControlsOfMode(int mode)
{
    static const std::array<ModeControls, 7> modes{{
        // 0 welcome
        {.hiddenOnLeave = {kWelcomeText, kBackground}, .shownOnLeave = {kHeading}},
        // 1 Audio Converter
        {.hiddenOnLeave = {kDriveLabel, kDriveList, kConvertList, kFormatGroup, kFirstOptionRadio, kSecondOptionRadio,
                           kVideoBitRateUnit, kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio, kSoundGroup,
                           kAudioBitRateEdit, kAudioBitRateLabel, kAudioBitRateUnit, kChannelsEdit, kChannelsLabel,
                           kSampleRateList, kSampleRateLabel, kSampleRateUnit},
         .enabledOnLeave = {kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio},
         .shownOnEnter = {kDriveLabel, kDriveList, kConvertList, kFormatGroup, kFirstOptionRadio, kSecondOptionRadio,
                          kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio, kSoundGroup, kAudioBitRateEdit,
                          kAudioBitRateLabel, kAudioBitRateUnit, kChannelsEdit, kChannelsLabel, kSampleRateList,
                          kSampleRateLabel, kSampleRateUnit},
         .enabledOnEnter = {kFirstOptionRadio, kSecondOptionRadio},
         .disabledOnEnter = {kThirdOptionRadio, kM4vRadio, kMp4Radio, kMovRadio},
         .captions = {{kHeading, kRowAudioConverterHeading},
                      {kDriveLabel, kRowSelectCdFiles},
                      {kFirstOptionRadio, -1, "MP3"},
                      {kSecondOptionRadio, -1, "WAV"},
                      {kThirdOptionRadio, -1, "FLV"},
                      {kStartButton, kRowConvert}}},
        // 2 Video Converter
        {.hiddenOnLeave = {kConvertList, kFormatGroup, kFirstOptionRadio, kSecondOptionRadio, kVideoGroup,
                           kVideoBitRateLabel, kVideoBitRateEdit, kVideoBitRateUnit, kThirdOptionRadio,
                           kVideoSizeLabel, kWidthEdit, kVideoSizeTimes, kHeightEdit, kAddFilesButton,
                           kRemoveFilesButton, kM4vRadio, kMp4Radio, kMovRadio, kSoundGroup, kAudioBitRateEdit,
                           kAudioBitRateLabel, kAudioBitRateUnit, kChannelsEdit, kChannelsLabel, kFileSizeText,
                           kSampleRateList, kSampleRateLabel, kSampleRateUnit, kDurationText, kJoinFilesCheck,
                           kOutputInfoGroup, kOptionsGroup, kBurnOutputCheck, kFrameRateList, kFrameRateLabel,
                           kFrameRateUnit},
         .shownOnEnter = {kConvertList, kFormatGroup, kFirstOptionRadio, kSecondOptionRadio, kVideoGroup,
                          kVideoBitRateLabel, kVideoBitRateEdit, kVideoBitRateUnit, kThirdOptionRadio,
                          kVideoSizeLabel, kWidthEdit, kVideoSizeTimes, kHeightEdit, kAddFilesButton,
                          kRemoveFilesButton, kM4vRadio, kMp4Radio, kMovRadio, kSoundGroup, kAudioBitRateEdit,
                          kAudioBitRateLabel, kAudioBitRateUnit, kChannelsEdit, kChannelsLabel, kFileSizeText,
                          kSampleRateList, kSampleRateLabel, kSampleRateUnit, kDurationText, kJoinFilesCheck,
                          kOutputInfoGroup, kOptionsGroup, kBurnOutputCheck, kFrameRateList, kFrameRateLabel,
                          kFrameRateUnit},
         .enabledOnEnter = {kFirstOptionRadio, kSecondOptionRadio},
         .disabledOnEnter = {kJoinFilesCheck},
         .captions = {{kHeading, kRowVideoConverterHeading},
                      {kFirstOptionRadio, -1, "AVI"},
                      {kSecondOptionRadio, -1, "MPG"},
                      {kThirdOptionRadio, -1, "FLV"},
                      {kStartButton, kRowConvert}}},
        // 3 DVD Creator
        {.hiddenOnLeave = {kConvertList, kFirstOptionRadio, kSecondOptionRadio, kVideoGroup, kThirdOptionRadio,
                           kDvdAudioBestRadio, kDvdAudioGoodRadio, kDvdAudioLowRadio, kDvdVideoBestRadio,
                           kDvdVideoGoodRadio, kAddFilesButton, kRemoveFilesButton, kSoundGroup, kDvdVideoLowRadio,
                           kDvdMenuGroup},
         .shownOnEnter = {kConvertList, kFirstOptionRadio, kSecondOptionRadio, kVideoGroup, kThirdOptionRadio,
                          kDvdAudioBestRadio, kDvdAudioGoodRadio, kDvdAudioLowRadio, kDvdVideoBestRadio,
                          kDvdVideoGoodRadio, kAddFilesButton, kRemoveFilesButton, kSoundGroup, kDvdVideoLowRadio,
                          kDvdMenuGroup},
         .captions = {{kHeading, kRowDvdCreatorHeading},
                      {kDvdMenuGroup, kRowDvdMenu},
                      {kFirstOptionRadio, kRowOnlyVobFiles},
                      {kSecondOptionRadio, kRowAllDvdFiles},
                      {kThirdOptionRadio, kRowConvertAndBurn},
                      {kStartButton, kRowConvert}}},
        // 4 Audio Burner
        {.hiddenOnLeave = {kDriveLabel, kDriveList, kAddFilesButton, kUsageLeftLabel, kUsageRightLabel,
                           kAddFolderButton, kBurnList, kRemoveFilesButton, kVerifyCheck},
         .shownOnEnter = {kDriveLabel, kDriveList, kAddFilesButton, kUsageLeftLabel, kUsageRightLabel, kBurnList,
                          kRemoveFilesButton, kVerifyCheck},
         .captions = {{kHeading, kRowAudioBurnerHeading},
                      {kDriveLabel, kRowSelectDrive},
                      {kUsageLeftLabel, -1, "0 min"},
                      {kUsageRightLabel, -1, "80 min"},
                      {kStartButton, kRowBurnIt},
                      {kVerifyCheck, kRowVerifyWrittenData}}},
        // 5 CD Data Burner
        {.hiddenOnLeave = {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio,
                           kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton, kVerifyCheck},
         .shownOnEnter = {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio,
                          kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton, kVerifyCheck},
         .captions = {{kHeading, kRowCdDataBurnerHeading},
                      {kDriveLabel, kRowSelectDrive},
                      {kStartButton, kRowBurnIt},
                      {kVerifyCheck, kRowVerifyWrittenData},
                      {kFirstOptionRadio, kRowCopyDisk},
                      {kSecondOptionRadio, kRowCreateIsoFile},
                      {kThirdOptionRadio, kRowBurnIsoFile}}},
        // 6 DVD Data Burner
        {.hiddenOnLeave = {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio,
                           kAddFilesButton, kUsageLeftLabel, kUsageRightLabel, kAddFolderButton, kBurnList,
                           kRemoveFilesButton, kVerifyCheck},
         .shownOnEnter = {kDriveLabel, kDriveList, kFirstOptionRadio, kSecondOptionRadio, kThirdOptionRadio,
                          kAddFilesButton, kUsageLeftLabel, kUsageRightLabel, kAddFolderButton, kBurnList,
                          kRemoveFilesButton, kVerifyCheck},
         .captions = {{kHeading, kRowDvdDataBurnerHeading},
                      {kDriveLabel, kRowSelectDrive},
                      {kStartButton, kRowBurnIt},
                      {kVerifyCheck, kRowVerifyWrittenData},
                      {kFirstOptionRadio, -1, "CD Data (700 MB)"},
                      {kSecondOptionRadio, -1, "DVD Data (4.7 GB)"},
                      {kThirdOptionRadio, -1, "DVD-DL Data (8.5 GB)"}}},
    }};
    if (mode < 0 || mode >= static_cast<int>(modes.size())) throw std::out_of_range("no such mode");
    return modes[static_cast<std::size_t>(mode)];
}

const std::vector<int>& ControlMapIds()
{
    static const std::vector<int> ids = {kBackground, kWelcomeText, kHeading, kDriveLabel, kDriveList, kConvertList,
                                         kFormatGroup, kFirstOptionRadio, kSecondOptionRadio, kVideoGroup,
                                         kVideoBitRateLabel, kVideoBitRateEdit, kVideoBitRateUnit, kThirdOptionRadio,
                                         kVideoSizeLabel, kWidthEdit, kVideoSizeTimes, kHeightEdit, kStartButton,
                                         kAddFilesButton, kRemoveFilesButton, kAddFolderButton, kUsageLeftLabel,
                                         kUsageRightLabel, kBurnList, kM4vRadio, kMp4Radio, kMovRadio,
                                         kFrameRateLabel, kFrameRateList, kFrameRateUnit, kSoundGroup,
                                         kAudioBitRateLabel, kAudioBitRateEdit, kAudioBitRateUnit, kChannelsLabel,
                                         kChannelsEdit, kSampleRateLabel, kSampleRateList, kSampleRateUnit,
                                         kOptionsGroup, kJoinFilesCheck, kBurnOutputCheck, kFileSizeText,
                                         kDurationText, kOutputInfoGroup, kDvdMenuGroup, kDvdAudioBestRadio,
                                         kDvdAudioGoodRadio, kDvdAudioLowRadio, kDvdVideoBestRadio,
                                         kDvdVideoGoodRadio, kDvdVideoLowRadio, kVerifyCheck};
    return ids;
}

const std::vector<int>& ControlsDisabledByCdOption(int option)
{
    static const std::array<std::vector<int>, 3> disabled{{
        {kAddFilesButton, kAddFolderButton, kBurnList, kRemoveFilesButton},
        {kDriveLabel, kDriveList},
        {kDriveLabel, kDriveList, kBurnList, kAddFilesButton, kAddFolderButton, kRemoveFilesButton},
    }};
    static const std::vector<int> none;
    if (option < 0 || option >= static_cast<int>(disabled.size())) return none;
    return disabled[static_cast<std::size_t>(option)];
}

}  // namespace velmora::front
