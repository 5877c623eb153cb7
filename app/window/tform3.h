#pragma once

#include "app/window/control_lock.h"
#include "app/window/handler_guard.h"
#include "common/gbk_pieces.h"
#include "font/font_table.h"
#include "font/full_set_font.h"
#include "font/glyph_rasterizer.h"
#include "image/image_store.h"
#include "image/workbench.h"
#include "pages/page_files.h"
#include "picture/dithering.h"
#include "serial/reply_flag.h"
#include "serial/tcomm.h"
#include "transfer/module_channel.h"
#include "transfer/region_upload.h"

#include <QColor>
#include <QFont>
#include <QMainWindow>
#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QColorDialog;
class QComboBox;
class QFontDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTableWidget;

namespace lumivert {

class ImageBox;

// Shows the font dialog and says whether the user confirmed a font in it.
using FontChooser = std::function<bool(QFontDialog& dialog)>;

// The workbench's main window. It owns the workbench state (the flash image with its cursors)
// and the image store for the whole run. Creating it runs FormCreate, which brings the state
// up; destroying it runs FormDestroy, which writes it back, before the controls go.
//
// Every control keeps its layout name, as member and as object name. Every user action is one
// handler named after its control and event; each runs under one guard that shows the message
// of an error it throws and lets the program go on.
class TForm3 : public QMainWindow {
    Q_OBJECT

public:
    // `reportError` shows the errors of the handlers, of start-up and of shutdown; without
    // one they go to the error dialog.
    explicit TForm3(ErrorReporter reportError = {}, QWidget* parent = nullptr);
    ~TForm3() override;

    TForm3(const TForm3&) = delete;
    TForm3& operator=(const TForm3&) = delete;

    void setErrorReporter(ErrorReporter reportError);

    // Replaces the modal font dialog of "选字体" (tests choose without a dialog).
    void setFontChooser(FontChooser chooser);

    const Workbench& workbench() const { return workbench_; }

    // Whether a long operation (a generation, the batch conversion, an upload, a send) runs.
    bool longOperationRunning() const { return longOperationDepth_ > 0; }

    // The window's serial port, and the flag its receive handler raises when the module has
    // answered.
    TComm& comm1() { return Comm1; }
    const ReplyFlag& replyFlag() const { return channel_.replyFlag(); }
    // Runs the colour dialog modally and returns its result; tests put one in its place
    // that never blocks.
    using ColourDialogRunner = std::function<int(QColorDialog&)>;
    void setColourDialogRunner(ColourDialogRunner runner);

protected:
    // Closing the window during a long operation cancels it; the window closes all the same.
    void closeEvent(QCloseEvent* event) override;

private:
    friend class LongOperation;
    using Handler = void (TForm3::*)();

    // Layout, one tab each.
    void buildLayout();
    QWidget* buildSerialTab();
    QWidget* buildFontTab();
    QWidget* buildPictureTab();
    QWidget* buildHelpTab();

    // Connects a control's event to its handler, through the guard.
    template <typename Sender, typename Signal>
    void connectHandler(Sender* sender, Signal signal, Handler handler) {
        connect(sender, signal, this, [this, handler] { runGuarded(handler); });
    }
    void runGuarded(Handler handler);
    void reportFailures(const std::vector<std::string>& failures);
    void showErrorDialog(const QString& message);

    // Long operations (see LongOperation): the controls they lock while they run.
    void beginLongOperation();
    void endLongOperation();
    std::vector<QWidget*> longOperationControls() const;
    // Enables or disables a control; while a long operation holds it locked, the state is
    // the one it gets when the operation ends.
    void setControlEnabled(QWidget* control, bool enabled);

    // Start-up, in this order.
    void FormCreate();
    void resetWorkbench();
    void fillPortList();
    void refreshPortList();
    void applyPortSettings();
    void loadImageStore();
    void loadPageList();
    void clearPageEditorAndProgress();
    void setFontEditorEnabled(bool enabled);
    void loadFontTable();
    void resetCurrentFontRow();
    void createGlyphBitmap();

    // Shutdown, in this order.
    void FormDestroy();
    void savePageList();
    void saveFontTable();
    void releaseGlyphBitmap();
    void saveImageStore();

    // The serial port's events reach the window through its event loop.
    void createComm1();
    // The port went away while open: it is closed, as by Button1.
    void portLost();

    // Handlers of the serial tab.
    void cbcommChange();
    void Button1Click();
    void Comm1ReceiveData(TComm& Sender, const std::uint8_t* Buffer, std::uint16_t BufferLength);
    void up1Click();
    void up2Click();
    void up3Click();
    void up4Click();
    void up5Click();
    void up6Click();
    void sg1Click();
    void Button7Click();
    void BsendClick();
    void bsend2Click();
    // Uploads one kind of content as a long operation, its progress in Label13 and pb1, its
    // rate in the status bar.
    void uploadContent(UploadRegion region);
    // The context menu of the upload group: reply framing, changed sectors only.
    void createUploadMenu();
    void replyFramingToggled(bool on);
    // Rows 1 to 128 of the page list, GBK.
    std::vector<PageRow> pageRows() const;
    // The lines of gscript, GBK.
    std::vector<std::string> gscriptLines() const;

    // The font editor and the glyph render (font_table.cpp, glyph.cpp).
    void LoadFontRow();
    void showLoadedFontRow(int row, const FontEditorValues& values);
    FontEditorValues fontEditorValues() const;
    GlyphParameters glyphParameters() const;
    void showFontTable();
    void showFontTableRow(int row);
    GlyphRasterizer& glyphRasterizer();

    // Handlers of the font tab.
    void sg2Click();
    void Button3Click();
    void Button4Click();
    void runClick();
    void Button2Click();
    void drawClick();
    void Button10Click();
    void Button5Click();
    void Button6Click();
    void Button8Click();
    void Button9Click();
    void Button12Click();
    void Button11Click();
    void Button13Click();
    void Button18Click();
    void generateFullSet(FullSetFont font);

    // Handlers of the picture tab.
    void Button14Click();
    void Button15Click();
    void buildBatchMenu();
    ColourReduction colourReduction() const;

    // Handlers of the colour calculator.
    void Button17Click();
    void Button16Click();

    Workbench workbench_;
    ImageStore imageStore_;
    ErrorReporter reportError_;
    int longOperationDepth_ = 0;
    std::unique_ptr<ControlLock> longOperationLock_;
    bool closeRequested_ = false;

    // The serial port, open while Button1 is in its close state (PortOpen 1). Received text
    // goes to rxmemo; a GBK character split between two receive events waits for its second
    // byte in receivedText_.
    TComm Comm1{CommSettings::mainWindow()};
    ModuleChannel channel_{Comm1};
    std::unique_ptr<QSocketNotifier> comm1Notifier_;
    int PortOpen = 0;
    GbkPieceJoiner receivedText_;
    // Page files that could not be read at start; they are not overwritten at exit.
    std::vector<int> unreadablePages_;

    // The font definitions, the font editor's place among them, the glyph render.
    FontTable fontTable_;
    FontEditorState fontEditor_;
    std::unique_ptr<GlyphRasterizer> glyphRasterizer_;
    QFontDialog* FontDialog1 = nullptr;
    QFont fontDialogFont_; // the font the dialog opens on: the last one confirmed
    FontChooser fontChooser_;

    QStatusBar* StatusBar1 = nullptr;
    QTabWidget* PageControl1 = nullptr;

    // Serial tab: port selection, uploads, console and page list.
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QFrame* Panel4 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cbcomm = nullptr;
    QLabel* Label17 = nullptr;
    QComboBox* btl = nullptr;
    QPushButton* Button1 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QPushButton* up1 = nullptr;
    QPushButton* up2 = nullptr;
    QPushButton* up6 = nullptr;
    QPushButton* up3 = nullptr;
    QPushButton* up4 = nullptr;
    QPushButton* up5 = nullptr;
    QLabel* Label13 = nullptr;
    QProgressBar* pb1 = nullptr;
    QAction* replyFramingItem = nullptr;
    QAction* changedOnlyItem = nullptr;
    QTableWidget* sg1 = nullptr;
    QPlainTextEdit* rxmemo = nullptr;
    QPlainTextEdit* gscript = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Bsend = nullptr;
    QPushButton* bsend2 = nullptr;

    // Font tab: font table, font editor, glyph preview and generation.
    QFrame* Panel5 = nullptr;
    QFrame* Panel6 = nullptr;
    QTableWidget* sg2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* zt = nullptr;
    QPushButton* Button3 = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* zw = nullptr;
    QLineEdit* zh = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* cb1 = nullptr;
    QLabel* Label8 = nullptr;
    QRadioButton* rb1 = nullptr;
    QRadioButton* rb2 = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* xp = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* yp = nullptr;
    QLabel* Label11 = nullptr;
    QPlainTextEdit* Memo3 = nullptr;
    QPushButton* Button4 = nullptr;
    ImageBox* Image1 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label12 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* run = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* draw = nullptr;
    QPushButton* Button10 = nullptr;
    ImageBox* Image2 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button12 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button13 = nullptr;
    QPushButton* Button18 = nullptr;

    // Picture tab.
    ImageBox* Image3 = nullptr;
    QPlainTextEdit* picmemo = nullptr;
    QLabel* Label14 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button14 = nullptr;
    QPushButton* Button15 = nullptr;
    QAction* ditherItem = nullptr; // in Button15's context menu

    // Help tab: the colour calculator.
    QGroupBox* GroupBox5 = nullptr;
    QLabel* Label15 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QPushButton* Button17 = nullptr;
    QLabel* Label16 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLabel* hexcolor = nullptr;
    QFrame* pcolor = nullptr;
    QPushButton* Button16 = nullptr;
    QColorDialog* ColorDialog1 = nullptr; // created on first use
    QColor chosenColour_ = Qt::black;     // the colour last chosen in ColorDialog1
    ColourDialogRunner runColourDialog_;  // empty: the dialog's own exec()
};

} // namespace lumivert
