#pragma once

#include "core/SharedState.h"
#include "core/UiStrings.h"

#include <QString>

#include <string>

namespace MediaLibrary::Header {
struct MEDIACONVERSIONINFO;
}

namespace velmora::front {

// What a job asks of the main window. Every call is safe from the conversion thread: those
// that need an answer wait for the UI thread, the others are posted to it.
class JobHost {
public:
    virtual ~JobHost() = default;

    virtual SharedState& State() = 0;
    virtual const UiStrings& Strings() const = 0;

    virtual void EnableControls(bool busy) = 0;
    virtual void ShowProgress(int maximum, int minimum) = 0;
    virtual void SetProgress(int position) = 0;
    // Position 0, with the bar and the status text shown.
    virtual void EndProgress() = 0;
    virtual void SetStatusText(const QString& text) = 0;
    virtual void CollectSettings(MediaLibrary::Header::MEDIACONVERSIONINFO& request,
                                 const MediaLibrary::Header::MEDIACONVERSIONINFO* defaults) = 0;

    // The folder browser and the save dialog; empty when cancelled.
    virtual std::string ChooseOutputFolder() = 0;
    virtual std::string ChooseJoinedFile() = 0;

    // Loads the picture into the preview window and shows it.
    virtual void ShowPreview(const std::string& picture) = 0;
    virtual void HidePreview() = 0;
    // Clears the check box of a convert-list row.
    virtual void UncheckRow(int row) = 0;
    // Posted: runs once the UI thread is free, as a click on that button would.
    virtual void PostCommand(int id) = 0;
};

}  // namespace velmora::front
