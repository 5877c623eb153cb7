#pragma once

#include <QComboBox>

namespace lumivert {

// The port box `cbcomm`: a combo box whose text can be typed, which says each time its list
// is about to open, so that the list can be read afresh and an adapter plugged in after the
// start appears without a restart.
class PortBox : public QComboBox {
    Q_OBJECT

public:
    explicit PortBox(QWidget* parent);

    void showPopup() override;

signals:
    void aboutToShowPopup();
};

} // namespace lumivert
