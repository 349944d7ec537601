#pragma once

#include "core/LumetraBinding.h"
#include "core/MessageKind.h"
#include "core/Mode.h"

#include <QString>

#include <cstdint>
#include <string>

namespace velmora::front {

class UiStrings;

// What the two lists need of the main window that holds them.
class ListHost {
public:
    virtual ~ListHost() = default;

    virtual int Mode() const = 0;
    virtual const UiStrings& Strings() const = 0;
    virtual bool ShowMessage(const QString& text, const QString& caption, MessageKind kind) = 0;
    // Shows why an operation is refused when the library lacks the export it needs.
    virtual bool RequireExport(Export which) = 0;

    // The burn list's running total: seconds in the Audio Burner mode, disc bytes in the data modes.
    virtual void AddDiscUsed(std::int64_t amount) = 0;
    virtual void UpdateDiscUsage() = 0;

    virtual void UpdateOutputInfo(std::int64_t totalSeconds) = 0;
    // The first video's own figures, as the library measured them, into the quality fields.
    virtual void ApplyVideoDefaults(const MediaLibrary::Header::MEDIACONVERSIONINFO& figures) = 0;
    // Joining takes two files at least: unchecked and disabled below that.
    virtual void SetJoinEnabled(bool enabled) = 0;
};

}  // namespace velmora::front
