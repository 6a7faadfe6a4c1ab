#include "ui/trashpropertiesdialog.h"

#include "library/settings.h"
#include "text/texts.h"
#include "ui/dialogcontrols.h"
#include "ui/dialogunits.h"

#include <QCheckBox>
#include <QPushButton>

using dialogcontrols::uiText;

TrashPropertiesDialog::TrashPropertiesDialog(Settings& settings)
    : m_settings(settings)
{ }

bool TrashPropertiesDialog::initDialog()
{
    using dialogunits::toPixels;
    setWindowTitle(uiText(texts::trashPropertiesTitle));
    setFixedSize(toPixels(QSize(232, 62)));

    m_deleteForce = new QCheckBox(uiText(texts::trashDeleteForce), this);
    m_deleteForce->setObjectName(QStringLiteral("deleteForce"));
    m_deleteForce->setGeometry(toPixels(7, 7, 218, 10));
    m_deleteConfirm = new QCheckBox(uiText(texts::trashDeleteConfirm), this);
    m_deleteConfirm->setObjectName(QStringLiteral("deleteConfirm"));
    m_deleteConfirm->setGeometry(toPixels(7, 21, 218, 10));

    const dialogcontrols::OkCancel buttons = dialogcontrols::addOkCancel(this, 121, 41);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    connect(m_ok, &QPushButton::clicked, this, [this] {
        store();
        accept();
    });

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
