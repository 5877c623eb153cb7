// The upload buttons: each sends its regions of the flash image to the module. The context
// menu of their group frames the module's answers and limits an upload to what changed; the
// status bar shows how fast an upload goes.

#include "app/window/long_operation.h"
#include "app/window/memo_log.h"
#include "app/window/tform3.h"
#include "app/window/transfer_failure.h"
#include "pages/page_region.h"
#include "transfer/reply_exchange.h"
#include "transfer/upload_journal.h"
#include "transfer/upload_session.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <cmath>

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

QString minutesAndSeconds(std::chrono::seconds time) {
    return QStringLiteral("%1:%2").arg(time.count() / 60).arg(time.count() % 60, 2, 10, QChar('0'));
}

// The window's long operation, with the upload's blocks, rate and time left in the status bar.
class UploadStatusHost : public OperationHost {
public:
    UploadStatusHost(LongOperation& operation, QStatusBar& bar)
        : operation_(operation), bar_(bar) {}

    void pump() override { operation_.pump(); }
    void wait(std::chrono::milliseconds most) override { operation_.wait(most); }
    bool cancelled() override { return operation_.cancelled(); }

    void throughput(double bytesPerSecond, std::optional<std::chrono::seconds> timeLeft) override {
        rate_ = QStringLiteral("，%1 字节/秒").arg(std::llround(bytesPerSecond));
        if (timeLeft) {
            rate_ += QStringLiteral("，剩余 ") + minutesAndSeconds(*timeLeft);
        }
    }
    void progress(std::int64_t done, std::int64_t total) override {
        bar_.showMessage(QStringLiteral("上传 %1/%2 块").arg(done).arg(total) + rate_);
    }

private:
    LongOperation& operation_;
    QStatusBar& bar_;
    QString rate_;
};

void appendLines(QPlainTextEdit& memo, const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        appendMemoLine(memo, QString::fromStdString(line));
    }
}

} // namespace

void TForm3::createUploadMenu() {
    replyFramingItem = new QAction(QStringLiteral("应答以回车换行结束（快速上传）"), GroupBox4);
    replyFramingItem->setObjectName(QStringLiteral("replyFramingItem"));
    replyFramingItem->setCheckable(true);
    changedOnlyItem = new QAction(QStringLiteral("只上传改动的扇区"), GroupBox4);
    changedOnlyItem->setObjectName(QStringLiteral("changedOnlyItem"));
    changedOnlyItem->setCheckable(true);
    GroupBox4->addAction(replyFramingItem);
    GroupBox4->addAction(changedOnlyItem);
    GroupBox4->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(replyFramingItem, &QAction::toggled, this, &TForm3::replyFramingToggled);
}

// Framed answers end with a carriage return and a line feed, as the module's do.
void TForm3::replyFramingToggled(bool on) {
    channel_.setReplyEnd(on ? "\r\n" : "");
}

void TForm3::uploadContent(UploadRegion region) {
    LongOperation operation(*this);
    UploadStatusHost host(operation, *StatusBar1);
    UploadProgressView display(*Label13, *pb1);
    ModuleLink link{channel_, host};
    UploadSession session(workbench_.image, uploadRanges(region, workbench_.regionMap),
                          uploadJournalPath(), changedOnlyItem->isChecked());
    appendLines(*rxmemo, session.takeNotices());
    const AnswerCounts before = channel_.counts();
    const bool framed = !channel_.replyEnd().empty();
    runTransfer(*rxmemo, channel_, [&] {
        try {
            uploadRegion(link, workbench_.image, workbench_.regionMap, region, display, session);
            awaitQuietLine(link);
        } catch (const TransferError&) {
            appendLines(*rxmemo, session.takeNotices());
            session.answersOutnumberedExchanges(channel_.counts() - before, framed);
            throw;
        }
    });
    appendLines(*rxmemo, session.takeNotices());
    if (session.answersOutnumberedExchanges(channel_.counts() - before, framed)) {
        appendMemoLine(*rxmemo,
                       QStringLiteral("警告：模块的应答次数多于发出的命令和数据块，上传可能"
                                      "跑在了模块前面；请在“数据上传”的右键菜单中勾选“应答"
                                      "以回车换行结束（快速上传）”后重新上传"));
    }
    StatusBar1->showMessage(QStringLiteral("上传结束：%1/%2 块，跳过 %3 个未改动的扇区")
                                .arg(session.meter().blocksDone())
                                .arg(session.meter().blocksToSend())
                                .arg(session.plan().sectorsSkipped()));
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
    for (const auto& warning :
         buildPageRegion(workbench_.image, workbench_.regionMap, pageRows())) {
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
