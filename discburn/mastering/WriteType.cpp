#include "LibburnParts.h"

#include "log/Log.h"

namespace velmora::discburn {

SessionWriteType ChooseSessionWriteType(bool withText, const std::function<bool()>& canWriteAtOnce,
                                        const std::function<burn::burn_write_types()>& libburnsChoice)
{
    if (withText && canWriteAtOnce()) return {burn::BURN_WRITE_SAO, false};
    const auto type = libburnsChoice();
    return {type, withText && type != burn::BURN_WRITE_SAO};
}

HResult ChooseWriteType(burn::burn_write_opts* options, burn::burn_disc* disc, bool closeMedia, bool withText)
{
    burn::burn_write_opts_set_multi(options, closeMedia ? 0 : 1);
    burn::burn_write_opts_set_underrun_proof(options, 1);
    char reasons[BURN_REASONS_LEN] = "";
    const auto chosen = ChooseSessionWriteType(
        withText,
        [&] {
            burn::burn_write_opts_set_write_type(options, burn::BURN_WRITE_SAO, burn::BURN_BLOCK_SAO);
            if (burn::burn_write_opts_auto_write_type(options, disc, reasons, 1) == burn::BURN_WRITE_SAO) return true;
            LogMessage(1, "The recorder cannot write this disc at once, so its CD-TEXT is left off: %s", reasons);
            return false;
        },
        [&] { return burn::burn_write_opts_auto_write_type(options, disc, reasons, 0); });
    if (chosen.type == burn::BURN_WRITE_NONE) {
        LogMessage(1, "The recorder cannot write this disc: %s", reasons);
        TakeLibburnFailure();
        return kNotSupported;
    }
    TakeLibburnFailure();
    return chosen.textLeftOff ? kWrittenWithoutCdText : kOk;
}

}  // namespace velmora::discburn
