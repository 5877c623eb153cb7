// The upload buttons: each sends its regions of the flash image to the module.

#include "app/window/long_operation.h"
#include "app/window/memo_log.h"
#include "app/window/tform3.h"
#include "app/window/transfer_failure.h"
#include "transfer/page_region.h"

#include <QLabel>
#include <QProgressBar>

namespace lumivert {
namespace {

class UploadProgressView : public UploadDisplay {
public:
    UploadProgressView(QLabel& caption, QProgressBar& bar) : caption_(caption), bar_(bar) {}

    void showCaption(const std::string& caption) override {
        caption_.setText(QString::fromStdString(caption));
    }
    void showPosition(int position) override { bar_.setValue(position); }

private:
    QLabel& caption_;
    QProgressBar& bar_;
};

} // namespace

void TForm3::uploadContent(UploadRegion region) {
    LongOperation operation(*this);
    UploadProgressView display(*Label13, *pb1);
    ModuleLink link{Comm1, replyFlag_, operation};
    runTransfer(*rxmemo, [&] {
        uploadRegion(link, workbench_.image, workbench_.regionMap, region, display);
    });
}

void TForm3::up1Click() {
    uploadContent(UploadRegion::Font12);
}

void TForm3::up2Click() {
    uploadContent(UploadRegion::Font16);
}

void TForm3::up3Click() {
    uploadContent(UploadRegion::Extracted);
}

// The page list as it stands goes into the pages region first.
void TForm3::up4Click() {
    std::vector<std::string> contents;
    for (const PageRow& row : pageRows()) {
        contents.push_back(row[2]);
    }
    for (const auto& warning : buildPageRegion(workbench_.image, workbench_.regionMap, contents)) {
        appendMemoLine(*rxmemo, QString::fromStdString(warning));
    }
    uploadContent(UploadRegion::Pages);
}

void TForm3::up5Click() {
    uploadContent(UploadRegion::Pictures);
}

void TForm3::up6Click() {
    uploadContent(UploadRegion::Ascii);
}

} // namespace lumivert
