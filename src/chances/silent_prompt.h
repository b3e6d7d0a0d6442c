#pragma once

#include "core/ports.h"

namespace zelkor {

// A prompt that tells nobody: for reads whose failure is not the user's
// concern (a horse without its record, a model that could not be kept).
class SilentPrompt : public UserPrompt {
  public:
    void doShowMessage(const std::string&, const std::string&) override {}
    bool doAskYesNo(const std::string&, const std::string&) override { return false; }
};

} // namespace zelkor
