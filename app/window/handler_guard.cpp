#include "app/window/handler_guard.h"

#include <exception>

namespace lumivert {

void runHandler(const std::function<void()>& handler, const ErrorReporter& report) {
    QString message;
    try {
        handler();
        return;
    } catch (const std::exception& error) {
        message = errorText(error.what());
    } catch (...) {
        message = QStringLiteral("An unknown error occurred.");
    }
    report(message);
}

QString errorText(const std::string& message) {
    return QString::fromStdString(message);
}

} // namespace lumivert
