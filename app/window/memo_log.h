#pragma once

#include <QString>

class QPlainTextEdit;

namespace lumivert {

// The receive memo and the picture log grow line by line for as long as the window is open.
// Both helpers add at the end of the document without rewriting what is there, so a line
// costs the same at line 8,000 as at line 1, and scroll the end into view.
//
// The memo keeps the old memo's notion of lines: a line added by appendMemoLine ends with a
// line break; text added by appendMemoText carries only the breaks it contains, so received
// bytes continue the last unfinished line, and the next added line starts on a line of its
// own.

// Adds `text` at the very end.
void appendMemoText(QPlainTextEdit& memo, const QString& text);

// Adds `line` as a line of its own, ended by a line break.
void appendMemoLine(QPlainTextEdit& memo, const QString& line);

} // namespace lumivert
