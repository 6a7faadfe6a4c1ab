#include "viewer/recordeditor.h"

#include "library/libraryoperations.h"
#include "library/recordlibrary.h"
#include "records/gamerecord.h"
#include "text/texts.h"
#include "ui/dialogunits.h"
#include "ui/folderremoval.h"
#include "viewer/boardpage.h"
#include "viewer/infopage.h"
#include "viewer/movesheetpage.h"

#include <QPushButton>
#include <QTabWidget>

namespace {

QString text(const FixedText& t)
{
    return QString::fromUtf8(t.utf8().data(), static_cast<qsizetype>(t.utf8().size()));
}

} // namespace

RecordEditor::RecordEditor(
    RecordLibrary& library, LibraryOperations& operations, int collection, int record)
    : m_library(library)
    , m_operations(operations)
    , m_collection(collection)
    , m_record(record)
{
    setObjectName(QStringLiteral("RecordEditor"));
    setWindowTitle(text(texts::editorCaption));
}

RecordEditor::~RecordEditor() = default;

bool RecordEditor::initDialog()
{
    if (m_collection < 0 || m_collection >= collectionCount)
        return false;
    const CollectionTree& tree = m_library.collection(m_collection);
    if (!tree.recordIsLive(m_record))
        return false;
    const GameRecord& record = tree.record(m_record);

    // The game as played, numbered on the sheet; whatever does not replay shows in blue.
    m_edited.grid.load(playedMoves(record));
    m_edited.replaySheet();

    using dialogunits::toPixels;
    setFixedSize(toPixels(QSize(153, 233)));
    m_tabs = new QTabWidget(this);
    m_tabs->setGeometry(toPixels(4, 6, 147, 206));
    m_sheetPage = new MoveSheetPage(m_edited);
    m_boardPage = new BoardPage(m_edited);
    m_infoPage = new InfoPage;
    m_infoPage->fill(tree, record);
    m_tabs->addTab(m_sheetPage, text(texts::editorTabSheet));
    m_tabs->addTab(m_boardPage, text(texts::editorTabBoard));
    m_tabs->addTab(m_infoPage, text(texts::editorTabInfo));

    m_ok = new QPushButton(text(texts::buttonOk), this);
    m_ok->setGeometry(toPixels(45, 215, 50, 14));
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(text(texts::editorCancel), this);
    m_cancel->setGeometry(toPixels(99, 215, 50, 14));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &RecordEditor::save);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &RecordEditor::showPage);

    showPage(SheetPage);
    return true;
}

void RecordEditor::showPage(int page)
{
    if (page < SheetPage || page > DetailsPage)
        return;
    m_currentPage = page;
    if (m_tabs->currentIndex() != page)
        m_tabs->setCurrentIndex(page); // comes back here through currentChanged
    m_tabs->currentWidget()->setFocus(Qt::OtherFocusReason);
}

void RecordEditor::save()
{
    m_operations.saveEditedRecord(
        m_collection, m_record, m_infoPage->details(), m_edited.game.moves());
    accept();
}

int32_t RecordEditor::onWindow(const WindowNotice& notice, int32_t)
{
    if (!removalTakesRecord(m_library, m_collection, m_record, notice))
        return noticeIgnored;
    reject();
    return noticeHandled;
}
