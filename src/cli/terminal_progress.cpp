#include "cli/terminal_progress.h"

#include "cli/cli_support.h"
#include "text/cp932.h"

#include <algorithm>
#include <chrono>
#include <unistd.h>
#include <utility>

namespace zelkor::cli {

namespace {

constexpr int kBarCells = 20;

// How often the progress is handed on: more is more than the eye follows,
// and a large set has thousands of positions.
constexpr auto kFlushInterval = std::chrono::milliseconds(100);

void put(std::FILE* out, const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), out);
}

// The progress whose line is on the terminal now.
TerminalProgress* drawnProgress = nullptr;

// Set by Ctrl+C while a progress lives.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void noteInterrupt(int) {
    interrupted = 1;
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
    : out_(out), redraw_(::isatty(::fileno(out)) != 0), silent_(terminalOnly && !redraw_) {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInterrupt_);
}

bool TerminalProgress::cancelled() const {
    return interrupted != 0;
}

TerminalProgress::~TerminalProgress() {
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    if (!pendingLine_.empty()) {
        put(out_, pendingLine_);
        lineShown_ = true;
    }
    endLine();
    std::fflush(out_);
}

void TerminalProgress::endLine() {
    if (redraw_ && lineShown_) {
        put(out_, "\n");
        std::fflush(out_);
        lineShown_ = false;
    }
    if (drawnProgress == this)
        drawnProgress = nullptr;
}

void endProgressLine() {
    if (drawnProgress != nullptr)
        drawnProgress->endLine();
}

bool TerminalProgress::due() {
    const auto now = std::chrono::steady_clock::now();
    if (now - shown_ < kFlushInterval)
        return false;
    shown_ = now;
    return true;
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
        // Drawn a few times a second and at 100 %; a line left undrawn is
        // drawn at the end.
        pendingLine_ = "\r" + line + "\x1b[K";
        if (due() || position_ == 100) {
            put(out_, std::exchange(pendingLine_, {}));
            std::fflush(out_);
            lineShown_ = true;
            drawnProgress = this;
        }
    } else {
        // Every position is a line of the log, handed on a few times a
        // second (the program buffers its stderr into a file or pipe).
        put(out_, line + "\n");
        if (due() || position_ == 100)
            std::fflush(out_);
    }
}

void PathPrintingShell::openDocument(const std::string& nativePath) {
    ++opened_;
    endProgressLine();
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
