#include "app/window/memo_log.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace lumivert {
namespace {

void insertAtEnd(QPlainTextEdit& memo, const QString& text) {
    QTextCursor end(memo.document());
    end.movePosition(QTextCursor::End);
    end.insertText(text);
    memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
}

} // namespace

void appendMemoText(QPlainTextEdit& memo, const QString& text) {
    if (!text.isEmpty()) {
        insertAtEnd(memo, text);
    }
}

void appendMemoLine(QPlainTextEdit& memo, const QString& line) {
    const bool lastLineOpen = !memo.document()->lastBlock().text().isEmpty();
    insertAtEnd(memo, (lastLineOpen ? QStringLiteral("\n") : QString()) + line + u'\n');
}

} // namespace lumivert
