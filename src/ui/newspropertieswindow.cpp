#include "ui/newspropertieswindow.h"

#include "library/recordlibrary.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogcontrols.h"
#include "ui/dialogunits.h"
#include "ui/folderremoval.h"
#include "ui/listdatetext.h"

#include <QLabel>
#include <QPushButton>

using dialogcontrols::addLabel;
using dialogcontrols::place;
using dialogcontrols::uiText;

namespace {

constexpr int windowWidth = 200;
constexpr int windowHeight = 96;

} // namespace

NewsPropertiesWindow::NewsPropertiesWindow(const RecordLibrary& library, FolderKey folder)
    : m_library(library)
    , m_folder(folder)
{
    setObjectName(QStringLiteral("NewsPropertiesWindow"));
    setWindowTitle(uiText(texts::newsPropertiesTitle));
}

bool NewsPropertiesWindow::initDialog()
{
    if (!m_library.folderIsLive(m_folder))
        return false;
    const CollectionTree& tree = m_library.collection(m_folder.collection);
    const RecordFolder& folder = tree.folder(m_folder.folder);

    setFixedSize(dialogunits::toPixels(QSize(windowWidth, windowHeight)));
    m_name = addLabel(this, fromSjis(folder.name), 8, 8, windowWidth - 16, 10);
    QLabel* about = addLabel(this, uiText(texts::newsPropertiesText), 8, 22, windowWidth - 16, 26);
    about->setWordWrap(true);
    about->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    addLabel(this, uiText(texts::newsUpdatedLabel), 8, 54, 44, 10);
    m_updated
        = addLabel(this, fromSjis(listdatetext::recordDate(folder.created, true)), 54, 54, 120, 10);

    m_close = new QPushButton(uiText(texts::buttonClose), this);
    place(m_close, windowWidth - 58, windowHeight - 20, 50, 14);
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    return true;
}

int32_t NewsPropertiesWindow::onWindow(const WindowNotice& notice, int32_t)
{
    if (notice.kind == WindowPeerProperties && notice.key == m_folder.packed()) {
        comeForward();
        return noticeHandled;
    }
    if (removalTakesFolder(m_library, m_folder, notice)) {
        reject();
        return noticeHandled;
    }
    return noticeIgnored;
}
