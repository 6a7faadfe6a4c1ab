#include "ui/trashpropertiesdialog.h"

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

TrashPropertiesDialog::TrashPropertiesDialog(Settings& settings)
    : m_settings(settings)
{ }

bool TrashPropertiesDialog::initDialog()
{
    using dialogunits::toPixels;
    setWindowTitle(text(texts::trashPropertiesTitle));
    setFixedSize(toPixels(QSize(232, 62)));

    m_deleteForce = new QCheckBox(text(texts::trashDeleteForce), this);
    m_deleteForce->setObjectName(QStringLiteral("deleteForce"));
    m_deleteForce->setGeometry(toPixels(7, 7, 218, 10));
    m_deleteConfirm = new QCheckBox(text(texts::trashDeleteConfirm), this);
    m_deleteConfirm->setObjectName(QStringLiteral("deleteConfirm"));
    m_deleteConfirm->setGeometry(toPixels(7, 21, 218, 10));

    m_ok = new QPushButton(text(texts::buttonOk), this);
    m_ok->setGeometry(toPixels(121, 41, 50, 14));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(text(texts::buttonCancel), this);
    m_cancel->setGeometry(toPixels(175, 41, 50, 14));
    connect(m_ok, &QPushButton::clicked, this, [this] {
        store();
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_deleteForce->setChecked(m_settings.delforce != 0);
    m_deleteConfirm->setChecked(m_settings.delconfirm != 0);
    return true;
}

void TrashPropertiesDialog::store()
{
    m_settings.delforce = m_deleteForce->isChecked() ? 1 : 0;
    m_settings.delconfirm = m_deleteConfirm->isChecked() ? 1 : 0;
}

int32_t TrashPropertiesDialog::onWindow(const WindowNotice& notice, int32_t)
{
    if (notice.kind != WindowTrashSettings)
        return noticeIgnored;
    comeForward();
    return noticeHandled;
}
