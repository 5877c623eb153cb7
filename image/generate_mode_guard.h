#pragma once

#include "image/workbench.h"

namespace lumivert {

// Sets GenerateMode to 1 for a batch generation and back to 0 on every way out of it,
// so that an error half-way never leaves later previews storing into the image.
class GenerateModeGuard {
public:
    explicit GenerateModeGuard(Workbench& workbench) : workbench_(workbench) {
        workbench_.generateMode = 1;
    }
    ~GenerateModeGuard() { workbench_.generateMode = 0; }
    GenerateModeGuard(const GenerateModeGuard&) = delete;
    GenerateModeGuard& operator=(const GenerateModeGuard&) = delete;

private:
    Workbench& workbench_;
};

} // namespace lumivert
