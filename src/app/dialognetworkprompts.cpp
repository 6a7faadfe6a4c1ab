#include "app/dialognetworkprompts.h"

#include "platform/sjis.h"
#include "ui/connectdialog.h"
#include "ui/networksettingsdialog.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>

bool DialogNetworkPrompts::askLogin(LoginFields& fields, const QUrl& registrationPage)
{
    ConnectDialog dialog(fields, registrationPage, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fields = dialog.fields();
    return true;
}

bool DialogNetworkPrompts::askNetworkSettings(std::string& description, bool& bell)
{
    NetworkSettingsDialog dialog(description, bell, m_owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    description = dialog.description();
    bell = dialog.bell();
    return true;
}

void DialogNetworkPrompts::warn(const std::string& title, const std::string& text)
{
    QMessageBox box(
        QMessageBox::Warning, fromSjis(title), fromSjis(text), QMessageBox::Ok, m_owner);
    box.exec();
}

void DialogNetworkPrompts::openPage(const QUrl& page)
{
    QDesktopServices::openUrl(page);
}

bool DialogNetworkPrompts::startProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}
