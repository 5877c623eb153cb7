#include "app/window/control_lock.h"

#include <algorithm>

namespace lumivert {

ControlLock::ControlLock(const std::vector<QWidget*>& controls) {
    held_.reserve(controls.size());
    for (QWidget* control : controls) {
        held_.push_back({control, control->isEnabled()});
        control->setEnabled(false);
    }
}

ControlLock::~ControlLock() {
    for (const auto& [control, enabledAfter] : held_) {
        if (control != nullptr) {
            control->setEnabled(enabledAfter);
        }
    }
}

bool ControlLock::holds(const QWidget* control) const {
    return std::any_of(held_.begin(), held_.end(),
                       [control](const Held& held) { return held.control == control; });
}

void ControlLock::setEnabledAfter(const QWidget* control, bool enabled) {
    for (auto& held : held_) {
        if (held.control == control) {
            held.enabledAfter = enabled;
        }
    }
}

} // namespace lumivert
