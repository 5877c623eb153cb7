#pragma once

#include "common/workbench_error.h"

namespace lumivert {

// A port that cannot be opened. Its message is the one the user is shown.
class ECommsError : public WorkbenchError {
public:
    using WorkbenchError::WorkbenchError;
};

} // namespace lumivert
