#pragma once

namespace lumetra::cli {

// Turns an interrupt (Ctrl-C, SIGTERM, a closed terminal) into a cancel of the library's work, so
// that the library stops its tools and removes their unfinished outputs instead of the process
// dying with them half written. From the first interrupt on, work that starts later is cancelled too.
void CancelWorkOnInterrupt();

// Whether an interrupt came.
bool Interrupted();

}  // namespace lumetra::cli
