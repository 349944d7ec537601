#include "ConsoleWindow.h"

#include "mastering/ProgressText.h"
#include "process/EndSignals.h"

#include <cstdio>
#include <map>

namespace velmora::discburn::cli {
namespace {

constexpr auto kProgressInterval = std::chrono::seconds(1);

// The window's English texts of the rows the engine asks for.
const std::map<int, const char*> kTexts{
    {BurnWindow::kInitializingRecorderRow, "Initializing Disc Recorder..."},
    {BurnWindow::kCreatingIsoImageRow, "Creating ISO Image"},
    {BurnWindow::kFinalizingImageRow, "Finalizing Image"},
    {BurnWindow::kWritingIsoImageRow, "Writing ISO Image to Disk"},
    {BurnWindow::kBurnCompletedRow, "Burn completed successfully!"},
    {BurnWindow::kCreatingFileSystemRow, "Creating File System..."},
    {BurnWindow::kMediaNotWritableRow, "Inserted Media is not writable.\n\nPlease insert the Blank media and try again."},
    {BurnWindow::kBurnProgressRow, "%1 of %2 MB written"},
    {BurnWindow::kTimeLeftRow, "%1 left"},
    {BurnWindow::kBurnVerifiedRow, "Burn completed and verified!"},
    {BurnWindow::kVerifyingRow, "Verifying..."},
    {BurnWindow::kCheckedRow, "%1 of %2 MB checked"},
    {BurnWindow::kReadRow, "%1 of %2 MB read"},
};

std::string EnglishText(int row)
{
    const auto found = kTexts.find(row);
    return found == kTexts.end() ? std::string() : found->second;
}

}  // namespace

int ConsoleWindow::SendProgress(const WriteProgress& progress)
{
    const auto now = std::chrono::steady_clock::now();
    if (progress.action != lastAction_ || progress.track != lastTrack_ || now >= nextProgress_) {
        lastAction_ = progress.action;
        lastTrack_ = progress.track;
        nextProgress_ = now + kProgressInterval;
        if (const std::string text = ProgressStatusText(progress, audio_, *this); !text.empty()) Say(text);
    }
    return IsCancelRequested() ? 0 : 1;
}

void ConsoleWindow::SendStatus(const std::string& text)
{
    Say(text);
}

void ConsoleWindow::SendResult(HResult hr, const std::string& text)
{
    result_ = {hr, text};
}

bool ConsoleWindow::IsCancelRequested()
{
    return platform::EndSignals::Received();
}

std::string ConsoleWindow::UiText(int row)
{
    return EnglishText(row);
}

void ConsoleWindow::ShowError(int row)
{
    // One line on a terminal: the message box's paragraph breaks become spaces.
    std::string line;
    for (const char letter : UiText(row))
        if (letter != '\n') line += letter;
        else if (!line.empty() && line.back() != ' ') line += ' ';
    Say(line);
}

std::string ConsoleWindow::ResultText() const
{
    const auto& [hr, text] = result_;
    if (text.empty()) return hr >= 0 ? EnglishText(kBurnCompletedRow) : WithCode("Burn failed! Error: 0x%08x", hr);
    return hr >= 0 ? text : text + WithCode(" - Error:0x%08X", hr);
}

void ConsoleWindow::Say(const std::string& text)
{
    if (text == lastSaid_) return;
    lastSaid_ = text;
    std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace velmora::discburn::cli
