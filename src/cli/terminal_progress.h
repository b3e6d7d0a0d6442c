#pragma once

#include "core/ports.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

namespace zelkor::cli {

// Progress of a batch on the terminal (stderr): a bar of 20 cells with its
// percentage, followed by the latest text on the same line (the line breaks
// the progress window puts into long paths are left out). On a terminal the
// line is redrawn in place; into a file or pipe each position is a line.
// Either is handed on at most ten times a second, and in full at the end.
// While it lives, Ctrl+C (SIGINT) cancels the job instead of killing the
// program, so the job can undo what it half did; a second Ctrl+C kills.
class TerminalProgress : public ProgressSink {
  public:
    // `terminalOnly`: nothing at all is written unless `out` is a terminal.
    explicit TerminalProgress(std::FILE* out = stderr, bool terminalOnly = false);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void setText(const std::string& cp932) override;
    void setPosition(int position) override;
    void setStep(int step) override { step_ = step; }
    void step() override { setPosition(position_ + step_); }
    bool cancelled() const override;

    int position() const { return position_; }

    // Ends the line drawn on the terminal, if there is one.
    void endLine();

  private:
    // True when the last showing is a tenth of a second ago (and it is now).
    bool due();

    std::FILE* out_;
    bool redraw_;
    bool silent_;
    bool lineShown_ = false;
    std::string pendingLine_; // a redraw not yet shown
    std::chrono::steady_clock::time_point shown_{};
    std::string text_;
    int position_ = 0;
    int step_ = 10;
    struct sigaction previousInterrupt_ {};
};

// Ends the line a progress has drawn on the terminal, if any, so that what
// is printed next (a message, the page to open) starts a line of its own.
void endProgressLine();

// The bar text for a position (0..100, clamped): "[#####               ]  25%".
std::string progressBar(int position);

// The terminal has no browser to open pages in: "opening" a page prints its
// path on stdout, the page the user should open.
class PathPrintingShell : public Shell {
  public:
    void openDocument(const std::string& nativePath) override;
    void openUrl(const std::string& url) override;
    int opened() const { return opened_; }

  private:
    int opened_ = 0;
};

} // namespace zelkor::cli
