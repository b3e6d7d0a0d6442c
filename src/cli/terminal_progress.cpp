#include "cli/terminal_progress.h"

#include "cli/cli_support.h"
#include "text/cp932.h"

#include <algorithm>
#include <unistd.h>

namespace zelkor::cli {

namespace {

constexpr int kBarCells = 20;

void put(std::FILE* out, const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), out);
    std::fflush(out);
}

} // namespace

std::string progressBar(int position) {
    const int p = std::clamp(position, 0, 100);
    const int filled = p * kBarCells / 100;
    std::string bar = "[";
    bar.append(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarCells - filled), ' ');
    bar += "] ";
    const std::string percent = std::to_string(p);
    bar.append(3 - percent.size(), ' ');
    return bar + percent + "%";
}

TerminalProgress::TerminalProgress(std::FILE* out, bool terminalOnly)
    : out_(out), redraw_(::isatty(::fileno(out)) != 0), silent_(terminalOnly && !redraw_) {}

TerminalProgress::~TerminalProgress() {
    if (redraw_ && lineShown_)
        put(out_, "\n");
}

void TerminalProgress::setText(const std::string& cp932) {
    // Converted only for a progress that is ever shown.
    if (silent_)
        return;
    std::string text = cp932;
    text.erase(
        std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
        text.end());
    text_ = cp932ToUtf8(visibleControls(text));
}

void TerminalProgress::setPosition(int position) {
    position_ = std::clamp(position, 0, 100);
    if (silent_)
        return;
    const std::string line = progressBar(position_) + (text_.empty() ? "" : " " + text_);
    if (redraw_) {
        // Back to the start of the line and clear what the last one left.
        put(out_, "\r" + line + "\x1b[K");
        lineShown_ = true;
    } else {
        put(out_, line + "\n");
    }
}

void PathPrintingShell::openDocument(const std::string& nativePath) {
    ++opened_;
    // Paths are the file system's bytes (UTF-8) already.
    std::fwrite(nativePath.data(), 1, nativePath.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void PathPrintingShell::openUrl(const std::string& url) {
    ++opened_;
    printOut(url + "\n");
}

} // namespace zelkor::cli
