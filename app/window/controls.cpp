#include "app/window/controls.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace lumivert {
namespace {

template <typename Control> Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

template <typename Control> Control* placed(Control* control, QRect place) {
    control->setGeometry(place);
    return control;
}

} // namespace

QFrame* makePanel(QWidget* parent, const char* name) {
    auto* panel = named(new QFrame(parent), name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QGroupBox* makeGroupBox(QWidget* parent, const char* name, const QString& caption, QRect place) {
    return placed(named(new QGroupBox(caption, parent), name), place);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QPoint place) {
    auto* label = named(new QLabel(caption, parent), name);
    label->move(place);
    label->adjustSize();
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect place) {
    return placed(named(new QPushButton(caption, parent), name), place);
}

QRadioButton* makeRadioButton(QWidget* parent, const char* name, const QString& caption,
                              QRect place) {
    return placed(named(new QRadioButton(caption, parent), name), place);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, QRect place) {
    return placed(named(new QLineEdit(text, parent), name), place);
}

QComboBox* makeComboBox(QWidget* parent, const char* name, QRect place, QComboBox* box) {
    box = placed(named(box != nullptr ? box : new QComboBox(parent), name), place);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QPlainTextEdit* makeMemo(QWidget* parent, const char* name, const QString& text) {
    return named(new QPlainTextEdit(text, parent), name);
}

} // namespace lumivert
