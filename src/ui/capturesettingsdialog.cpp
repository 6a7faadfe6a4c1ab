#include "ui/capturesettingsdialog.h"

#include "library/settings.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogunits.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

QString text(const FixedText& t)
{
    return fromSjis(t.bytes());
}

} // namespace

CaptureSettingsDialog::CaptureSettingsDialog(Settings& settings)
    : m_settings(settings)
{ }

bool CaptureSettingsDialog::initDialog()
{
    using dialogunits::toPixels;
    setWindowTitle(text(texts::captureSettingsTitle));
    setFixedSize(toPixels(QSize(232, 90)));

    const auto box = [this](const FixedText& label, const char* name, int y) {
        auto* check = new QCheckBox(text(label), this);
        check->setObjectName(QString::fromLatin1(name));
        check->setGeometry(toPixels(7, y, 218, 10));
        return check;
    };
    m_auto = box(texts::captureSettingAuto, "yahooauto", 7);
    m_save = box(texts::captureSettingSave, "yahoosave", 21);
    m_bell = box(texts::captureSettingBell, "yahoobell", 35);
    m_close = box(texts::captureSettingClose, "yahooclose", 49);

    m_ok = new QPushButton(text(texts::buttonOk), this);
    m_ok->setGeometry(toPixels(121, 69, 50, 14));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(text(texts::buttonCancel), this);
    m_cancel->setGeometry(toPixels(175, 69, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, [this] {
        store();
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_auto->setChecked(m_settings.yahooauto != 0);
    m_save->setChecked(m_settings.yahoosave != 0);
    m_bell->setChecked(m_settings.yahoobell != 0);
    m_close->setChecked(m_settings.yahooclose != 0);
    return true;
}

void CaptureSettingsDialog::store()
{
    m_settings.yahooauto = m_auto->isChecked() ? 1 : 0;
    m_settings.yahoosave = m_save->isChecked() ? 1 : 0;
    m_settings.yahoobell = m_bell->isChecked() ? 1 : 0;
    m_settings.yahooclose = m_close->isChecked() ? 1 : 0;
}

int32_t CaptureSettingsDialog::onWindow(const WindowNotice& notice, int32_t)
{
    if (notice.kind != WindowCaptureSettings)
        return noticeIgnored;
    comeForward();
    return noticeHandled;
}
