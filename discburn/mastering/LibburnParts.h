#pragma once

// Pieces of the libburn side shared by the files that include libburn alone (never libisofs or
// libisoburn, whose declarations of the same structs are global).

#include "Mastering.h"
#include "text/DiscText.h"

#include <libburn/libburn.h>

#include <functional>
#include <memory>

namespace velmora::discburn {

// A stream that passes the inner one's bytes on to libburn and counts and hashes them as they go.
// Takes a reference to the inner stream; the caller keeps its own.
burn::burn_source* HashedSource(burn::burn_source* inner, std::shared_ptr<TrackHash> hash);

// Gives the session and its tracks the text as CD-TEXT in ISO-8859-1, shortened until libburn can
// make the lead-in's packs of it. False (and no text on the disc) when even short texts do not fit.
bool ApplyDiscText(burn::burn_session* session, const DiscText& text);

// The write type of a session. CD-TEXT goes only into the lead-in of a session written at once
// (SAO), so a session with text asks for that first; otherwise, or when the recorder cannot, the
// type libburn chooses (BURN_WRITE_NONE when there is none), and the text is left off.
struct SessionWriteType {
    burn::burn_write_types type = burn::BURN_WRITE_NONE;
    bool textLeftOff = false;
};
SessionWriteType ChooseSessionWriteType(bool withText, const std::function<bool()>& canWriteAtOnce,
                                        const std::function<burn::burn_write_types()>& libburnsChoice);
// Sets the options' write type for the disc so: kOk, kWrittenWithoutCdText when the text is left
// off, kNotSupported when the recorder cannot write the disc at all.
HResult ChooseWriteType(burn::burn_write_opts* options, burn::burn_disc* disc, bool closeMedia, bool withText);

}  // namespace velmora::discburn
