#pragma once

#include <QRect>
#include <QString>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace lumivert {

// Builders for the controls of the main window's layout. Each control gets its name as
// object name, its parent, and, where given, its place inside the parent.

QFrame* makePanel(QWidget* parent, const char* name);
QGroupBox* makeGroupBox(QWidget* parent, const char* name, const QString& caption, QRect place);
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QPoint place);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect place);
QRadioButton* makeRadioButton(QWidget* parent, const char* name, const QString& caption,
                              QRect place);
QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& text, QRect place);
// A combo box whose text can also be typed; `box`, when given, is the combo box to set up.
QComboBox* makeComboBox(QWidget* parent, const char* name, QRect place, QComboBox* box = nullptr);
QPlainTextEdit* makeMemo(QWidget* parent, const char* name, const QString& text);

} // namespace lumivert
