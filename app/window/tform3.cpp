#include "app/window/tform3.h"

#include "app/window/quit_on_signal.h"
#include "common/run_all_steps.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <cstdio>

namespace lumivert {

TForm3::TForm3(ErrorReporter reportError, QWidget* parent)
    : QMainWindow(parent), reportError_(std::move(reportError)) {
    if (!reportError_) {
        reportError_ = [this](const QString& message) { showErrorDialog(message); };
    }
    buildLayout();
    FormCreate();
}

TForm3::~TForm3() {
    FormDestroy();
}

void TForm3::setErrorReporter(ErrorReporter reportError) {
    reportError_ = std::move(reportError);
}

void TForm3::buildLayout() {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Lumivert V1.1 B0917"));
    resize(1253, 766);
    move(0, 0);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    setStatusBar(StatusBar1);
    auto* workingFolder = new QLabel(
        QStringLiteral("工作目录：") + QDir::toNativeSeparators(QDir::currentPath()), StatusBar1);
    workingFolder->setObjectName(QStringLiteral("workingFolder"));
    StatusBar1->addPermanentWidget(workingFolder);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildSerialTab(), QStringLiteral("串口命令"));
    PageControl1->addTab(buildFontTab(), QStringLiteral("字体点阵"));
    PageControl1->addTab(buildPictureTab(), QStringLiteral("图形处理"));
    PageControl1->addTab(buildHelpTab(), QStringLiteral("帮助与说明"));
    PageControl1->setCurrentIndex(0);
    setCentralWidget(PageControl1);
}

void TForm3::runGuarded(Handler handler) {
    runHandler([this, handler] { (this->*handler)(); }, reportError_);
}

void TForm3::reportFailures(const std::vector<std::string>& failures) {
    for (const auto& failure : failures) {
        reportError_(errorText(failure));
    }
}

// Once a signal has ended the run nobody is there to press OK: the message goes to standard
// error, where a session's log keeps it.
void TForm3::showErrorDialog(const QString& message) {
    if (TerminationSignals::requested()) {
        std::fprintf(stderr, "lumivert: %s\n", message.toLocal8Bit().constData());
        return;
    }
    QMessageBox::critical(this, windowTitle(), message);
}

// Every step runs even when one before it fails: the window opens all the same, with the
// flash image at least holding its 0xFF fill and the font editor ready for use.
void TForm3::FormCreate() {
    reportFailures(runAllSteps({
        [this] { resetWorkbench(); },
        [this] { fillPortList(); },
        [this] { applyPortSettings(); },
        [this] { loadImageStore(); },
        [this] { loadPageList(); },
        [this] { clearPageEditorAndProgress(); },
        [this] { setFontEditorEnabled(false); },
        [this] { loadFontTable(); },
        [this] { resetCurrentFontRow(); },
        [this] { createGlyphBitmap(); },
    }));
}

// Every step runs even when one before it fails, so that a page file that cannot be written
// costs neither the font files nor the flash image.
void TForm3::FormDestroy() {
    reportFailures(runAllSteps({
        [this] { savePageList(); },
        [this] { saveFontTable(); },
        [this] { releaseGlyphBitmap(); },
        [this] { saveImageStore(); },
    }));
}

// Generation off, the standard region map, every byte of the flash image 0xFF.
void TForm3::resetWorkbench() {
    workbench_.reset();
}

void TForm3::loadImageStore() {
    imageStore_.load(workbench_.image);
}

void TForm3::clearPageEditorAndProgress() {
    Label3->clear();
    Label13->clear();
    Edit1->clear();
}

void TForm3::saveImageStore() {
    imageStore_.save(workbench_.image);
}

} // namespace lumivert
