#pragma once

namespace velmora::front {

class CMediaMaster;

// The library's own messages ("Error", ...) are shown by the open main window, on its thread;
// the library's call returns once the user has read the message.
void AttachLibraryMessages(CMediaMaster& window);
void DetachLibraryMessages(CMediaMaster& window);

// The handler the library calls, from whichever thread runs the export.
void ShowLibraryMessage(const char* text, const char* title);

}  // namespace velmora::front
