// The system's own way of showing a message, used by ShowMessageBox when no
// sink is installed. Windows: a modal MessageBoxW owned by the calling
// thread's active window (the host's). Linux stand-in: MessageLine on standard
// error.
#ifndef DR_MVQ4_PLATFORM_SYSTEM_MESSAGE_BOX_H
#define DR_MVQ4_PLATFORM_SYSTEM_MESSAGE_BOX_H

#include <string>

namespace platform {

// Shows `text` (UTF-8) and returns when the user has closed it.
void ShowSystemMessageBox(const std::string& text);

}  // namespace platform

#endif
