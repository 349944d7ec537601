#pragma once

#include "core/MessageKind.h"
#include "core/SharedState.h"
#include "core/UiStrings.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace velmora::front {

// What a burn job asks of the main window. Every call is safe from the burn thread: it runs on
// the UI thread and returns when the window has answered.
class BurnHost {
public:
    virtual ~BurnHost() = default;

    virtual SharedState& State() = 0;
    virtual const UiStrings& Strings() const = 0;

    virtual void EnableControls(bool busy) = 0;
    virtual void SetStatusText(const QString& text) = 0;
    // The progress bar of a write or of its verification.
    virtual void ShowBurnProgress(std::uint64_t done, std::uint64_t total) = 0;
    // True for Yes (or OK).
    virtual bool ShowMessage(const QString& text, const QString& caption, MessageKind kind) = 0;

    // The save dialog for a new ISO file and the open dialog for one to burn; empty when cancelled.
    virtual std::string ChooseIsoFileToWrite() = 0;
    virtual std::string ChooseIsoFileToBurn() = 0;
    // The recorder selector for the copy of a disc: the chosen recorder's unique id, none when cancelled.
    // For an audio CD's copy the first recorder that writes audio CDs is offered first.
    virtual std::optional<std::string> ChooseTargetRecorder(bool audioCd) = 0;
};

}  // namespace velmora::front
