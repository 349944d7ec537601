#pragma once

#include <string>

namespace MediaLibrary {

// Shows a message through the front end's handler; without one, on standard error and in the log.
void ShowMessageBox(const std::string& text, const std::string& title);

}  // namespace MediaLibrary
