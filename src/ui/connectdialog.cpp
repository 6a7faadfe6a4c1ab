#include "ui/connectdialog.h"

#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogunits.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString text(const FixedText& t)
{
    return fromSjis(t.bytes());
}

} // namespace

LoginFields connectDialogFill(const std::string& savedUser, const std::string& savedPassword,
    bool afterFailure, const std::string& lastUser)
{
    if (afterFailure)
        return { lastUser, {}, !savedUser.empty() };
    if (!savedUser.empty())
        return { savedUser, savedPassword, true };
    return {};
}

LoginProblem loginProblem(const LoginFields& fields)
{
    if (fields.user.empty())
        return LoginProblem::noUser;
    if (fields.password.empty())
        return LoginProblem::noPassword;
    return LoginProblem::none;
}

ConnectDialog::ConnectDialog(const LoginFields& fill, QUrl registrationPage, QWidget* parent)
    : QDialog(parent)
    , m_registrationPage(std::move(registrationPage))
{
    using dialogunits::toPixels;
    setObjectName(QStringLiteral("ConnectDialog"));
    setWindowTitle(text(texts::connectTitle));
    setFixedSize(toPixels(QSize(226, 82)));

    auto* userLabel = new QLabel(text(texts::connectUserLabel), this);
    userLabel->setGeometry(toPixels(7, 9, 50, 8));
    m_user = new QLineEdit(fromSjis(fill.user), this);
    m_user->setObjectName(QStringLiteral("user"));
    m_user->setGeometry(toPixels(60, 7, 100, 12));
    userLabel->setBuddy(m_user);
    auto* passwordLabel = new QLabel(text(texts::connectPasswordLabel), this);
    passwordLabel->setGeometry(toPixels(7, 27, 50, 8));
    m_password = new QLineEdit(fromSjis(fill.password), this);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setGeometry(toPixels(60, 25, 100, 12));
    passwordLabel->setBuddy(m_password);
    m_save = new QCheckBox(text(texts::connectSave), this);
    m_save->setObjectName(QStringLiteral("save"));
    m_save->setGeometry(toPixels(7, 45, 153, 10));
    m_save->setChecked(fill.save);

    m_ok = new QPushButton(text(texts::buttonOk), this);
    m_ok->setGeometry(toPixels(169, 7, 50, 14));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(text(texts::buttonCancel), this);
    m_cancel->setGeometry(toPixels(169, 25, 50, 14));
    m_register = new QPushButton(text(texts::connectRegister), this);
    m_register->setObjectName(QStringLiteral("register"));
    m_register->setGeometry(toPixels(169, 61, 50, 14));
    m_register->setAutoDefault(false);

    connect(m_ok, &QPushButton::clicked, this, &ConnectDialog::tryAccept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_register, &QPushButton::clicked, this, [this] {
        if (m_open)
            m_open(m_registrationPage);
        else
            QDesktopServices::openUrl(m_registrationPage);
    });
    m_warn = [this](const QString& message) {
        QMessageBox::warning(this, text(texts::errorTitle), message);
    };
    m_user->setFocus(Qt::OtherFocusReason);
}

LoginFields ConnectDialog::fields() const
{
    return { toSjis(m_user->text()), toSjis(m_password->text()), m_save->isChecked() };
}

void ConnectDialog::tryAccept()
{
    switch (loginProblem(fields())) {
    case LoginProblem::noUser:
        QApplication::beep();
        m_warn(text(texts::connectNoUser));
        m_user->setFocus(Qt::OtherFocusReason);
        return;
    case LoginProblem::noPassword:
        QApplication::beep();
        m_warn(text(texts::connectNoPassword));
        m_password->setFocus(Qt::OtherFocusReason);
        return;
    case LoginProblem::none:
        accept();
        return;
    }
}
