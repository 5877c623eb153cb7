#pragma once

#include <QString>
#include <functional>
#include <string>

namespace lumivert {

// Shows one error message to the user. The window's own shows the error dialog; tests
// collect the messages instead.
using ErrorReporter = std::function<void(const QString&)>;

// Runs one event handler. An exception ends the handler where it arises; its message goes
// to `report` and the program goes on.
void runHandler(const std::function<void()>& handler, const ErrorReporter& report);

// A message of the core, as the user is shown it.
QString errorText(const std::string& message);

} // namespace lumivert
