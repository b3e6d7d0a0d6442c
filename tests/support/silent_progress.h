#pragma once

#include "core/ports.h"

#include <string>

namespace zelkor::test {

// A progress sink for runs nobody watches.
class SilentProgress : public ProgressSink {
  public:
    void setText(const std::string&) override {}
    void setPosition(int) override {}
    void setStep(int) override {}
    void step() override {}
};

} // namespace zelkor::test
