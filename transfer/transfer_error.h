#pragma once

#include "common/workbench_error.h"

#include <string>

namespace lumivert {

// A transfer to the module that stopped before its end: the port refused the bytes, was
// closed during the wait, or the module did not answer in time. The message names what was
// being sent; the caller also shows it where the module's answers appear.
class TransferError : public WorkbenchError {
public:
    using WorkbenchError::WorkbenchError;
};

} // namespace lumivert
