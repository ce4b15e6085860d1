#include "platform/MessageBox.h"

#include <cstdio>
#include <utility>

#include "platform/SystemMessageBox.h"

namespace platform {
namespace {

MessageSink& CurrentSink() {
    static MessageSink sink;
    return sink;
}

}  // namespace

std::string MessageLine(const std::string& text) {
    std::string line = "dr_mvq4: ";
    bool pendingBlank = false;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            pendingBlank = true;
            continue;
        }
        if (pendingBlank && line.back() != ' ') line.push_back(' ');
        pendingBlank = false;
        line.push_back(c);
    }
    return line;
}

void WriteMessageLine(const std::string& text) {
    const std::string line = MessageLine(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void ShowMessageBox(const std::string& text) {
    const MessageSink& sink = CurrentSink();
    if (sink) {
        sink(text);
        return;
    }
    ShowSystemMessageBox(text);
}

MessageSink SetMessageSink(MessageSink sink) {
    MessageSink previous = std::move(CurrentSink());
    CurrentSink() = std::move(sink);
    return previous;
}

}  // namespace platform
