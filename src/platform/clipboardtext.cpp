#include "platform/clipboardtext.h"

#include "platform/sjis.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace clipboardtext {

std::string get()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return {};
    return toSjis(clipboard->text(QClipboard::Clipboard));
}

int put(std::string_view cp932Text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return -1;
    const QString text = fromSjis(cp932Text);
    clipboard->setText(text, QClipboard::Clipboard);
    // The platform may refuse the data without telling; reading it back is the only way to know.
    return clipboard->text(QClipboard::Clipboard) == text ? 0 : -1;
}

int clear()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return -1;
    clipboard->clear(QClipboard::Clipboard);
    const QMimeData* left = clipboard->mimeData(QClipboard::Clipboard);
    return !left || left->formats().isEmpty() ? 0 : -1;
}

} // namespace clipboardtext
