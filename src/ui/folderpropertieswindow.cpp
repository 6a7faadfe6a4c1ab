#include "ui/folderpropertieswindow.h"

#include "library/libraryoperations.h"
#include "library/recordlibrary.h"
#include "library/textformat.h"
#include "platform/sjis.h"
#include "records/textlimits.h"
#include "text/texts.h"
#include "ui/dialogcontrols.h"
#include "ui/dialogunits.h"
#include "ui/folderremoval.h"
#include "ui/listdatetext.h"
#include "ui/typedname.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using dialogcontrols::addLabel;
using dialogcontrols::place;
using dialogcontrols::uiText;

namespace {

// The window and its tab control, in dialog units; the pages fill the tab control.
constexpr int windowWidth = 218;
constexpr int windowHeight = 172;
constexpr int pageWidth = 202;
constexpr int valueX = 52;
constexpr int valueWidth = pageWidth - valueX - 6;

void addRule(QWidget* page, int y)
{
    auto* line = new QFrame(page);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    place(line, 6, y, pageWidth - 12, 2);
}

std::string fitted(const QString& text)
{
    return std::string(fitName(toSjis(text)));
}

} // namespace

FolderPropertiesWindow::FolderPropertiesWindow(RecordLibrary& library,
    LibraryOperations& operations, LibraryPrompter& prompter, FolderKey folder, int tab)
    : m_library(library)
    , m_operations(operations)
    , m_prompter(prompter)
    , m_folder(folder)
    , m_requestedTab(tab)
{
    setObjectName(QStringLiteral("FolderPropertiesWindow"));
    setWindowTitle(uiText(texts::folderPropertiesCaption));
}

bool FolderPropertiesWindow::initDialog()
{
    if (!m_library.folderIsLive(m_folder))
        return false;
    const CollectionTree& tree = m_library.collection(m_folder.collection);
    const RecordFolder& folder = tree.folder(m_folder.folder);
    m_defaultShareName = folder.name;

    setFixedSize(dialogunits::toPixels(QSize(windowWidth, windowHeight)));
    setWindowTitle(fromSjis(formatText(texts::folderPropertiesTitle.bytes(), { folder.name })));

    m_tabs = new QTabWidget(this);
    place(m_tabs, 4, 4, windowWidth - 8, windowHeight - 30);
    m_tabs->addTab(buildGeneralPage(), uiText(texts::folderTabGeneral));
    if (m_folder.folder != 0 && m_folder.collection != networkCollection)
        m_tabs->addTab(buildSharingPage(), uiText(texts::folderTabSharing));

    const dialogcontrols::OkCancel buttons
        = dialogcontrols::addOkCancel(this, windowWidth - 112, windowHeight - 20);
    m_ok = buttons.ok;
    m_cancel = buttons.cancel;
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (apply())
            accept();
    });

    showTab(m_requestedTab);
    return true;
}

QWidget* FolderPropertiesWindow::buildGeneralPage()
{
    const CollectionTree& tree = m_library.collection(m_folder.collection);
    const RecordFolder& folder = tree.folder(m_folder.folder);
    auto* page = new QWidget;

    m_name = new QLineEdit(fromSjis(folder.name), page);
    m_name->setObjectName(QStringLiteral("folderName"));
    place(m_name, 8, 8, pageWidth - 16, 13);
    m_name->setReadOnly(m_folder.folder == 0 || m_folder.collection == networkCollection);
    addRule(page, 28);

    addLabel(page, uiText(texts::folderKindLabel), 8, 36, 42, 10);
    addLabel(page, uiText(texts::folderKind), valueX, 36, valueWidth, 10);
    addLabel(page, uiText(texts::folderPlaceLabel), 8, 52, 42, 10);
    const std::string place
        = folder.parent >= 0 ? tree.path(folder.parent, false) : std::string("\\");
    m_place = addLabel(page, fromSjis(place), valueX, 52, valueWidth, 10);
    addLabel(page, uiText(texts::folderContentsLabel), 8, 68, 42, 10);
    // Counted in full: a large collection holds more records than 16 bits can count.
    const SubtreeCounts counts = tree.subtreeCounts(m_folder.folder);
    m_contents = addLabel(page,
        fromSjis(formatText(texts::folderContents.bytes(), { counts.folders, counts.records })),
        valueX, 68, valueWidth, 10);
    addRule(page, 84);

    addLabel(page, uiText(texts::folderCreatedLabel), 8, 92, 42, 10);
    m_created = addLabel(
        page, fromSjis(listdatetext::recordDate(folder.created, true)), valueX, 92, valueWidth, 10);
    for (QLabel* value : { m_place, m_contents, m_created })
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return page;
}

QWidget* FolderPropertiesWindow::buildSharingPage()
{
    const RecordFolder& folder = m_library.collection(m_folder.collection).folder(m_folder.folder);
    auto* page = new QWidget;

    m_shareOff = new QRadioButton(uiText(texts::shareOff), page);
    place(m_shareOff, 8, 8, pageWidth - 16, 10);
    m_shareOn = new QRadioButton(uiText(texts::shareOn), page);
    place(m_shareOn, 8, 22, pageWidth - 16, 10);

    QLabel* nameLabel = addLabel(page, uiText(texts::shareNameLabel), 20, 40, 46, 10);
    m_shareName = new QLineEdit(fromSjis(folder.shareName), page);
    m_shareName->setObjectName(QStringLiteral("shareName"));
    place(m_shareName, 68, 38, pageWidth - 76, 13);
    nameLabel->setBuddy(m_shareName);
    QLabel* commentLabel = addLabel(page, uiText(texts::shareCommentLabel), 20, 58, 46, 10);
    m_shareComment = new QLineEdit(fromSjis(folder.shareComment), page);
    m_shareComment->setObjectName(QStringLiteral("shareComment"));
    place(m_shareComment, 68, 56, pageWidth - 76, 13);
    commentLabel->setBuddy(m_shareComment);

    QLabel* explanation
        = addLabel(page, uiText(texts::shareExplanation), 8, 80, pageWidth - 16, 40);
    explanation->setWordWrap(true);
    explanation->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const bool shared = !folder.shareName.empty();
    (shared ? m_shareOn : m_shareOff)->setChecked(true);
    m_shareName->setReadOnly(!shared);
    m_shareComment->setReadOnly(!shared);
    connect(m_shareOn, &QRadioButton::toggled, this, [this](bool on) { setSharing(on); });
    return page;
}

void FolderPropertiesWindow::setSharing(bool on)
{
    m_shareName->setReadOnly(!on);
    m_shareComment->setReadOnly(!on);
    if (on && m_shareName->text().isEmpty())
        m_shareName->setText(fromSjis(m_defaultShareName));
}

void FolderPropertiesWindow::showTab(int tab)
{
    if (m_tabs)
        m_tabs->setCurrentIndex(tab >= 0 && tab < m_tabs->count() ? tab : GeneralTab);
}

bool FolderPropertiesWindow::apply()
{
    CollectionTree& tree = m_library.collection(m_folder.collection);
    const int index = m_folder.folder;
    // A folder that went away would have closed the window; nothing is left to change.
    if (!tree.folderIsLive(index))
        return true;
    const std::string oldName = tree.folder(index).name;
    const int parent = tree.folder(index).parent;

    const QString typed = m_name->text().trimmed();
    const std::string name = fitted(typed);
    const bool renaming = !m_name->isReadOnly() && parent >= 0 && name != oldName;
    if (renaming
        && (!typedNameFits(typed, m_prompter)
            || !m_operations.checkName(m_folder.collection, parent, name, &m_prompter)))
        return false;

    if (m_shareOn && m_shareOn->isChecked()) {
        const RecordFolder& folder = tree.folder(index);
        const std::string shareName = fitted(m_shareName->text());
        const std::string comment = fitted(m_shareComment->text());
        const bool unchanged
            = !shareName.empty() && shareName == folder.shareName && comment == folder.shareComment;
        if (!unchanged) {
            if (shareName != folder.shareName
                && !m_operations.checkShareName(shareName, &m_prompter))
                return false;
            m_operations.setShare(m_folder.collection, index, shareName, comment);
        }
    } else if (m_shareOff && !tree.folder(index).shareName.empty()) {
        m_operations.setShare(m_folder.collection, index, std::nullopt, std::string());
    }

    if (renaming)
        m_operations.renameFolder(m_folder.collection, index, name);
    return true;
}

int32_t FolderPropertiesWindow::onWindow(const WindowNotice& notice, int32_t)
{
    if (notice.kind == WindowFolderProperties && notice.key == m_folder.packed()) {
        comeForward();
        if (m_tabs && static_cast<int>(notice.extra) != m_tabs->currentIndex())
            showTab(static_cast<int>(notice.extra));
        return noticeHandled;
    }
    if (removalTakesFolder(m_library, m_folder, notice)) {
        reject();
        return noticeHandled;
    }
    return noticeIgnored;
}
