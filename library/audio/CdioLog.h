#pragma once

namespace MediaLibrary::Audio {

// libcdio's own messages go to the log from now on, for the whole process. Its default handler
// prints them on standard output (a command line's output is its own) and ends the process on
// any error it reports.
void RouteCdioMessagesToLog();

}  // namespace MediaLibrary::Audio
