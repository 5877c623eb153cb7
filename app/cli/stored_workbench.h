#pragma once

#include "image/image_store.h"
#include "image/workbench.h"

#include <memory>

namespace lumivert {

// The workbench as a verb sees it: the start-up state with the image store loaded over it,
// as the window has it after opening. A verb that changes the image calls save() at its end.
class StoredWorkbench {
public:
    StoredWorkbench() : workbench_(std::make_unique<Workbench>()) {
        workbench_->reset();
        store_.load(workbench_->image);
    }

    Workbench& workbench() { return *workbench_; }
    void save() { store_.save(workbench_->image); }

private:
    std::unique_ptr<Workbench> workbench_;
    ImageStore store_;
};

} // namespace lumivert
