#pragma once

#include "app/window/tform3.h"
#include "tests/support/temp_folder.h"

#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace lumivert::testing {

// A window started in an empty working directory that holds `src` and `work`, with its
// error messages collected instead of shown.
class WindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TForm3> openWindow() {
        return std::make_unique<TForm3>(
            [this](const QString& message) { messages.push_back(message); });
    }

    std::filesystem::path storePath() const { return folder_ / "work" / "sdata.tmp"; }

    QStringList messages;

private:
    static const std::filesystem::path& withFolders(const TempFolder& folder) {
        std::filesystem::create_directory(folder / "src");
        std::filesystem::create_directory(folder / "work");
        return folder.path();
    }

    TempFolder folder_;
    WorkingDirectory workingDirectory_{withFolders(folder_)};
};

} // namespace lumivert::testing
