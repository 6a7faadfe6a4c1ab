#include "app/messageboxprompter.h"

#include "platform/sjis.h"
#include "text/texts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Two buttons; true when the first was chosen. Closing the box counts as the second.
bool ask(QWidget* owner, QMessageBox::Icon icon, const std::string& title, const std::string& text,
    const FixedText& first, const FixedText& second)
{
    QMessageBox box(icon, fromSjis(title), fromSjis(text), QMessageBox::NoButton, owner);
    QPushButton* yes = box.addButton(fromSjis(first.bytes()), QMessageBox::YesRole);
    QPushButton* no = box.addButton(fromSjis(second.bytes()), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace

QWidget* MessageBoxPrompter::owner() const
{
    // A dialog that asked stays on top of its question: the active window owns the box.
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_owner;
}

bool MessageBoxPrompter::confirm(const std::string& title, const std::string& text)
{
    return ask(owner(), QMessageBox::Question, title, text, texts::buttonYes, texts::buttonNo);
}

void MessageBoxPrompter::showError(const std::string& title, const std::string& text)
{
    QMessageBox box(
        QMessageBox::Critical, fromSjis(title), fromSjis(text), QMessageBox::Ok, owner());
    box.exec();
}

bool MessageBoxPrompter::retry(const std::string& title, const std::string& text)
{
    return ask(
        owner(), QMessageBox::Warning, title, text, texts::buttonRetry, texts::buttonQuitAnyway);
}
