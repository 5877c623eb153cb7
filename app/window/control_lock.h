#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace lumivert {

// Disables a set of controls for a while and, when it ends, gives each the enabled state it
// should have then: the one it had before, or the one a handler asked for meanwhile through
// setEnabledAfter (the port being closed during an upload disables the upload buttons for
// good, not just for the upload).
class ControlLock {
public:
    explicit ControlLock(const std::vector<QWidget*>& controls);
    ~ControlLock();
    ControlLock(const ControlLock&) = delete;
    ControlLock& operator=(const ControlLock&) = delete;

    bool holds(const QWidget* control) const;

    // The state `control`, which the lock holds, gets when the lock ends.
    void setEnabledAfter(const QWidget* control, bool enabled);

private:
    struct Held {
        QPointer<QWidget> control;
        bool enabledAfter;
    };
    std::vector<Held> held_;
};

} // namespace lumivert
