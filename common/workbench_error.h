#pragma once

#include <stdexcept>

namespace lumivert {

// An operation that cannot be carried out. Its message is shown to the user as it stands:
// in the error dialog of the window, or on standard error by the command line.
class WorkbenchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace lumivert
