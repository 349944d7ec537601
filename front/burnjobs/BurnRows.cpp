#include "BurnRows.h"

namespace velmora::front {

using namespace discburn;

QString ProgressStatusText(const WriteProgress& progress, bool audio)
{
    if (audio) {
        switch (progress.action) {
        case kAudioPreparing:
            return QStringLiteral("Preparing to write %1 audio tracks...").arg(progress.trackCount);
        case kAudioWriting:
            return QStringLiteral("Writing track %1 of %2...").arg(progress.track).arg(progress.trackCount);
        case kAudioFinishing:
            return QStringLiteral("Finishing the disc...");
        default:
            return {};
        }
    }
    switch (progress.action) {
    case kValidatingMedia: return QStringLiteral("Validating current media...");
    case kFormattingMedia: return QStringLiteral("Formatting media...");
    case kInitializingHardware: return QStringLiteral("Initializing hardware...");
    case kCalibratingPower: return QStringLiteral("Optimizing laser intensity...");
    case kFinalization: return QStringLiteral("Finalizing writing...");
    case kCompleted: return QStringLiteral("Completed!");
    default: return {};
    }
}

QString ResultStatusText(HResult hr, const QString& text)
{
    if (hr >= 0) return text;
    const QString code = QString::number(static_cast<std::uint32_t>(hr), 16).rightJustified(8, QChar('0')).toUpper();
    return text + " - Error:0x" + code;
}

}  // namespace velmora::front
