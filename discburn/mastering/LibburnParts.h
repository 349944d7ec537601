#pragma once

// Pieces of the libburn side shared by the files that include libburn alone (never libisofs or
// libisoburn, whose declarations of the same structs are global).

#include "Mastering.h"
#include "text/DiscText.h"

#include <libburn/libburn.h>

#include <memory>

namespace velmora::discburn {

// A stream that passes the inner one's bytes on to libburn and counts and hashes them as they go.
// Takes a reference to the inner stream; the caller keeps its own.
burn::burn_source* HashedSource(burn::burn_source* inner, std::shared_ptr<TrackHash> hash);

// Gives the session and its tracks the text as CD-TEXT in ISO-8859-1, shortened until libburn can
// make the lead-in's packs of it. False (and no text on the disc) when even short texts do not fit.
bool ApplyDiscText(burn::burn_session* session, const DiscText& text);

}  // namespace velmora::discburn
