#pragma once

#include "core/ports.h"

#include <string>
#include <utility>
#include <variant>

namespace zelkor {

// Why an operation failed: the message a user is shown (CP932).
struct Failure {
    std::string message;
};

// What an operation that can fail gives back: its value, or the Failure
// saying why. The libraries' one shape for failure (ARCHITECTURE.md, "Results").
template <class T = void> class [[nodiscard]] Result {
  public:
    Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : held_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return held_.index() == 0; }
    explicit operator bool() const { return ok(); }

    // The value; only of a result that is ok().
    T& value() & { return std::get<0>(held_); }
    const T& value() const& { return std::get<0>(held_); }
    T&& value() && { return std::get<0>(std::move(held_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    // The value, or `fallback` for a failure.
    T valueOr(T fallback) const& { return ok() ? value() : std::move(fallback); }

    // Why it failed; empty for a result that is ok().
    const std::string& message() const {
        static const std::string none;
        return ok() ? none : std::get<1>(held_).message;
    }

  private:
    std::variant<T, Failure> held_;
};

template <> class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::string& message() const { return failure_.message; }

  private:
    Failure failure_;
    bool ok_ = true;
};

// The result of an operation that gives back nothing but whether it worked.
using Outcome = Result<void>;

// `ok` as an Outcome, failing with `message` when false.
[[nodiscard]] inline Outcome outcomeOf(bool ok, std::string message) {
    if (ok)
        return {};
    return Failure{std::move(message)};
}

// Passes everything to `prompt` and keeps the last message shown, so an
// operation whose helpers tell the user but give back only whether they
// worked can fail with what was told.
class RememberingPrompt : public UserPrompt {
  public:
    explicit RememberingPrompt(UserPrompt& prompt) : prompt_(prompt) {}
    // The failure of what was told last, `fallback` when nothing was.
    Failure failure(std::string fallback) const {
        return Failure{last_.empty() ? std::move(fallback) : last_};
    }

  private:
    void doShowMessage(const std::string& text, const std::string& caption) override {
        last_ = text;
        prompt_.showMessage(text, caption);
    }
    void doShowNote(const std::string& text, MessageIcon icon,
                    const std::string& caption) override {
        last_ = text;
        prompt_.showNote(text, icon, caption);
    }
    bool doAskYesNo(const std::string& text, const std::string& caption) override {
        return prompt_.askYesNo(text, caption);
    }

    UserPrompt& prompt_;
    std::string last_;
};

// Shows `message` to the user as a warning and gives it back as the
// failure of the operation that found it, for the many operations that tell
// the user themselves.
[[nodiscard]] inline Failure tell(UserPrompt& prompt, std::string message) {
    prompt.showMessage(message);
    return Failure{std::move(message)};
}

} // namespace zelkor
