#include "ui/networksettingsdialog.h"

#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogunits.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString text(const FixedText& t)
{
    return fromSjis(t.bytes());
}

} // namespace

NetworkSettingsDialog::NetworkSettingsDialog(
    const std::string& description, bool bell, QWidget* parent)
    : QDialog(parent)
{
    using dialogunits::toPixels;
    setObjectName(QStringLiteral("NetworkSettingsDialog"));
    setWindowTitle(text(texts::networkSettingsTitle));
    setFixedSize(toPixels(QSize(236, 150)));

    auto* descriptionGroup = new QGroupBox(text(texts::networkDescriptionGroup), this);
    descriptionGroup->setGeometry(toPixels(7, 7, 222, 30));
    m_description = new QLineEdit(fromSjis(description), this);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setMaxLength(descriptionLimit);
    m_description->setGeometry(toPixels(14, 19, 208, 12));

    auto* accountGroup = new QGroupBox(text(texts::networkAccountGroup), this);
    accountGroup->setGeometry(toPixels(7, 42, 222, 46));
    auto* userLabel = new QLabel(text(texts::networkUserLabel), this);
    userLabel->setGeometry(toPixels(14, 56, 50, 8));
    m_user = new QLineEdit(this);
    m_user->setGeometry(toPixels(68, 54, 154, 12));
    auto* passwordLabel = new QLabel(text(texts::networkPasswordLabel), this);
    passwordLabel->setGeometry(toPixels(14, 72, 50, 8));
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setGeometry(toPixels(68, 70, 154, 12));

    auto* optionsGroup = new QGroupBox(text(texts::networkOptionsGroup), this);
    optionsGroup->setGeometry(toPixels(7, 93, 222, 28));
    m_bell = new QCheckBox(text(texts::networkChatBell), this);
    m_bell->setObjectName(QStringLiteral("bell"));
    m_bell->setGeometry(toPixels(14, 105, 208, 10));
    m_bell->setChecked(bell);

    m_ok = new QPushButton(text(texts::buttonOk), this);
    m_ok->setGeometry(toPixels(125, 129, 50, 14));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(text(texts::buttonCancel), this);
    m_cancel->setGeometry(toPixels(179, 129, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::string NetworkSettingsDialog::description() const
{
    return toSjis(m_description->text());
}

bool NetworkSettingsDialog::bell() const
{
    return m_bell->isChecked();
}
