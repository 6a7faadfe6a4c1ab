#include "ui/transcript.h"

#include "platform/sjis.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

namespace transcript {

namespace {

void caretToEnd(QPlainTextEdit& edit)
{
    QTextCursor cursor = edit.textCursor();
    cursor.movePosition(QTextCursor::End);
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
}

} // namespace

void setUp(QPlainTextEdit& edit)
{
    // Black text on the white of the program's shared brushes.
    QPalette white = edit.palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    edit.setPalette(white);
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit.setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void append(QPlainTextEdit& edit, std::string_view cp932Text)
{
    caretToEnd(edit);
    QString text = fromSjis(cp932Text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    edit.textCursor().insertText(text);
    caretToEnd(edit);
}

int lineCount(const QPlainTextEdit& edit)
{
    return edit.document()->blockCount();
}

void dropLinesBefore(QPlainTextEdit& edit, int first)
{
    const QTextBlock block = edit.document()->findBlockByNumber(first);
    if (block.isValid()) {
        QTextCursor cursor(edit.document());
        cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    caretToEnd(edit);
}

} // namespace transcript
