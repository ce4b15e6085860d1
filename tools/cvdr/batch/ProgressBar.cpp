#include "batch/ProgressBar.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>

#include "formats/Utf8Text.h"

namespace cvdr {
namespace {

constexpr size_t kBarWidth = 20;

size_t TerminalWidth() {
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

// The first `count` code points of UTF-8 text.
std::string_view Prefix(std::string_view text, size_t count) {
    size_t end = 0;
    for (size_t seen = 0; end < text.size() && seen < count; ++seen) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    }
    return text.substr(0, end);
}

}  // namespace

ProgressBar::ProgressBar(size_t total) : m_total(total), m_enabled(isatty(STDERR_FILENO) == 1) {}

std::string ProgressBar::Line(size_t done, size_t total, std::string_view label, size_t width) {
    const size_t filled = total == 0 ? kBarWidth : std::min(kBarWidth, done * kBarWidth / total);
    std::string line = "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "]  " +
                       std::to_string(done) + "/" + std::to_string(total) + "  ";
    // One column is left free: writing the last one makes some terminals wrap.
    const size_t used = line.size() + 1;
    const std::string text = ValidUtf8(label);
    if (used < width) line += Prefix(text, width - used);
    return line;
}

void ProgressBar::Show(size_t done, std::string_view label) {
    if (!m_enabled) return;
    std::cerr << '\r' << Line(done, m_total, label, TerminalWidth()) << "\x1b[K" << std::flush;
    m_shown = true;
}

void ProgressBar::Clear() {
    if (!m_shown) return;
    std::cerr << "\r\x1b[K" << std::flush;
    m_shown = false;
}

}  // namespace cvdr
