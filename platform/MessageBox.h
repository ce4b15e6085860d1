// The modal message box. ShowMessageBox hands a message to the sink that
// tests install, else to the system (platform/SystemMessageBox.h): a message
// box on Windows; here one line on standard error, prefixed "dr_mvq4: ",
// with line breaks folded into blanks.
#ifndef DR_MVQ4_PLATFORM_MESSAGE_BOX_H
#define DR_MVQ4_PLATFORM_MESSAGE_BOX_H

#include <functional>
#include <string>

namespace platform {

// Shows `text` (UTF-8) to the user and returns when it has been shown.
void ShowMessageBox(const std::string& text);

// Replaces where messages go; an empty function restores the system's box.
// Returns the previous sink.
using MessageSink = std::function<void(const std::string& text)>;
MessageSink SetMessageSink(MessageSink sink);

// The one line written for `text` where messages go to a stream.
std::string MessageLine(const std::string& text);

// Writes MessageLine(text) to standard error: the stand-in's box, and a sink
// for programs that must never wait for a user (tests, corpus replays).
void WriteMessageLine(const std::string& text);

}  // namespace platform

#endif
