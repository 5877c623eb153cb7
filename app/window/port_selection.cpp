// Port selection, opening and closing the port, and what the module sends back.

#include "app/ports/serial_port_list.h"
#include "app/window/gbk_text.h"
#include "app/window/memo_log.h"
#include "app/window/tform3.h"
#include "common/integer_parse.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <algorithm>
#include <string_view>

namespace lumivert {

// The port's events are raised from the window's event loop: the notifier fires while the
// port's threads have posted something, and the dispatch runs the handlers under the guard.
void TForm3::createComm1() {
    channel_.setOnReceived([this](const std::uint8_t* buffer, std::uint16_t length) {
        Comm1ReceiveData(Comm1, buffer, length);
    });
    channel_.setOnPortLost([this] { portLost(); });
    comm1Notifier_ =
        std::make_unique<QSocketNotifier>(Comm1.wakeDescriptor(), QSocketNotifier::Read);
    connect(comm1Notifier_.get(), &QSocketNotifier::activated, this,
            [this] { runHandler([this] { Comm1.dispatchPending(); }, reportError_); });
}

namespace {

QStringList portNames() {
    QStringList names;
    for (const auto& port : listSerialPorts()) {
        names << QString::fromStdString(port.name);
    }
    return names;
}

} // namespace

// The port list: the system's serial devices, the first one chosen.
void TForm3::fillPortList() {
    const QStringList names = portNames();
    cbcomm->clear();
    cbcomm->addItems(names);
    if (!names.isEmpty()) {
        cbcomm->setCurrentIndex(0);
    }
    Comm1.setCommName(cbcomm->currentText().toStdString());
}

// The list read afresh each time it opens; the port shown, picked or typed, stays, and so
// does the name the next opening uses.
void TForm3::refreshPortList() {
    const QString shown = cbcomm->currentText();
    const QSignalBlocker unchanged(cbcomm);
    cbcomm->clear();
    cbcomm->addItems(portNames());
    const int index = cbcomm->findText(shown, Qt::MatchExactly);
    if (index >= 0) {
        cbcomm->setCurrentIndex(index);
    } else {
        cbcomm->setEditText(shown);
    }
}

// The port's speed and framing: 115200 baud, 8 data bits, no parity, 1 stop bit.
void TForm3::applyPortSettings() {
    Comm1.setBaudRate(115200);
    Comm1.setParity(TParity::None);
    Comm1.setByteSize(TByteSize::_8);
    Comm1.setStopBits(TStopBits::_1);
}

// A name picked or typed serves the next opening; an open port stays as it is.
void TForm3::cbcommChange() {
    Comm1.setCommName(cbcomm->currentText().toStdString());
}

// Opens or closes the port. The button shows its close state ("关闭") only once the port is
// open: a failed opening leaves it as it was, with the error shown.
void TForm3::Button1Click() {
    if (PortOpen == 1) {
        PortOpen = 0;
        Button1->setText(QStringLiteral("打开"));
        Comm1.ClosePort();
        return;
    }
    // The rate of the item shown; a typed rate that is no item is none.
    const QString rate = btl->itemText(btl->findText(btl->currentText(), Qt::MatchExactly));
    Comm1.setBaudRate(static_cast<std::uint32_t>(parseInteger(rate.toStdString())));
    channel_.openPort();
    PortOpen = 1;
    Button1->setText(QStringLiteral("关闭"));
    for (QWidget* button : {up1, up2, up3, up4, up5, up6, Bsend, bsend2}) {
        setControlEnabled(button, true);
    }
}

// The port is closed as the closing press of Button1 closes it, the button back to its first
// caption; the send and upload buttons stay as they are. A transfer that was running ends
// with the same message.
void TForm3::portLost() {
    PortOpen = 0;
    Button1->setText(QStringLiteral("打开串口"));
    Comm1.ClosePort();
    appendMemoLine(*rxmemo, QString::fromStdString("串口已断开：" + Comm1.CommName()));
}

// Received bytes go to the end of rxmemo as they came, as GBK text shown up to a zero byte.
// The channel has raised the reply flag when they answer the module's last exchange.
void TForm3::Comm1ReceiveData(TComm& /*Sender*/, const std::uint8_t* Buffer,
                              std::uint16_t BufferLength) {
    const auto* bytes = reinterpret_cast<const char*>(Buffer);
    const std::string_view shown(
        bytes, static_cast<std::size_t>(std::find(bytes, bytes + BufferLength, '\0') - bytes));
    appendMemoText(*rxmemo, fromGbk(receivedText_.join(shown)));
}

} // namespace lumivert
