#pragma once

#include "image/image_store.h"
#include "image/workbench.h"
#include "tests/cli/run_lumivert.h"
#include "tests/support/temp_folder.h"
#include "tools/virtual-module/virtual_module.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace lumivert::testing {

// A working folder with src and work, the module it talks to, and the verbs run in it.
class TransferVerbsTest : public ::testing::Test {
protected:
    TransferVerbsTest() {
        std::filesystem::create_directory(folder / "src");
        std::filesystem::create_directory(folder / "work");
    }

    Outcome lumivert(std::vector<std::string> args, const VirtualModule* module = nullptr) {
        args.insert(args.begin(), {"-C", folder.path().string()});
        if (module != nullptr) {
            args.insert(args.end(), {"--port", module->path(), "--read-interval", "5"});
        }
        return testing::lumivert(args);
    }

    void writeFile(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }

    std::unique_ptr<Workbench> storedWorkbench() {
        auto workbench = std::make_unique<Workbench>();
        workbench->reset();
        ImageStore(folder / "work" / "sdata.tmp").load(workbench->image);
        return workbench;
    }

    void storeImage(const FlashImage& image) {
        ImageStore(folder / "work" / "sdata.tmp").save(image);
    }

    TempFolder folder;
};

} // namespace lumivert::testing
