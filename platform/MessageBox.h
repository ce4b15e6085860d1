// Stand-in for the modal message box. A message is written as one line to
// standard error, prefixed "dr_mvq4: ", with line breaks folded into blanks.
// Tests install a sink to capture the messages instead.
#ifndef DR_MVQ4_PLATFORM_MESSAGE_BOX_H
#define DR_MVQ4_PLATFORM_MESSAGE_BOX_H

#include <functional>
#include <string>

namespace platform {

// Shows `text` (UTF-8) to the user and returns when it has been shown.
void ShowMessageBox(const std::string& text);

// Replaces where messages go; an empty function restores standard error.
// Returns the previous sink.
using MessageSink = std::function<void(const std::string& text)>;
MessageSink SetMessageSink(MessageSink sink);

// The one line written for `text`.
std::string MessageLine(const std::string& text);

}  // namespace platform

#endif
