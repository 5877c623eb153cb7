#include "app/window/quit_on_signal.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace lumivert {
namespace {

constexpr std::array kSignals = {SIGINT, SIGTERM, SIGHUP};

int signalPipe[2] = {-1, -1};
bool endRequested = false;

// Only an async-signal-safe write here; the event loop picks the byte up.
void onSignal(int /*signal*/) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// A modal dialog runs an event loop of its own inside the handler that opened it; rejecting
// it ends that loop, and the handler goes on to its end.
void closeDialogs() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget);
            dialog != nullptr && dialog->isVisible()) {
            dialog->reject();
        }
    }
}

// Once the run is ending, every dialog that shows (an error of a handler that was still
// running, or of the shutdown) is closed as soon as its event loop runs.
class LateDialogCloser : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QDialog*>(watched);
                dialog != nullptr && dialog->isWindow()) {
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            }
        }
        return false;
    }
};

} // namespace

struct TerminationSignals::State {
    std::array<struct sigaction, kSignals.size()> previous{};
    QSocketNotifier* notifier = nullptr;
    LateDialogCloser closer;
};

TerminationSignals::TerminationSignals() : state_(std::make_unique<State>()) {
    endRequested = false;
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the signals keep their default action
    }
    state_->notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(state_->notifier, &QSocketNotifier::activated, state_->notifier, [this] {
        char byte = 0;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        endRequested = true;
        QCoreApplication::instance()->installEventFilter(&state_->closer);
        closeDialogs();
        // Closing the window cancels a long operation that is running, so the event loop
        // can end and the shutdown save runs.
        QApplication::closeAllWindows();
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &action, &state_->previous[i]);
    }
}

TerminationSignals::~TerminationSignals() {
    if (state_->notifier == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &state_->previous[i], nullptr);
    }
    QCoreApplication::instance()->removeEventFilter(&state_->closer);
    delete state_->notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
    endRequested = false;
}

bool TerminationSignals::requested() {
    return endRequested;
}

} // namespace lumivert
