#include "viewer/searchwindow.h"

#include "library/recordlibrary.h"
#include "platform/sjis.h"
#include "text/texts.h"
#include "ui/dialogcontrols.h"
#include "ui/dialogunits.h"
#include "ui/mainwindow.h"
#include "ui/recordlistmodel.h"
#include "viewer/openingexplorerpanel.h"
#include "viewer/previewboard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTreeView>

using dialogcontrols::addLabel;
using dialogcontrols::place;
using dialogcontrols::uiText;

namespace {

// The window's designed size in dialog units.
constexpr int designWidth = 302;
constexpr int designHeight = 303;
// The result columns' widths in pixels: 名前, 黒番, 白番, 結果, 定石, 日付.
constexpr std::array<int, 6> columnWidths { 108, 80, 80, 64, 64, 104 };

QComboBox* dropDownList(QWidget* parent, int x, int y, int width)
{
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    list->setMaxVisibleItems(20);
    place(list, x, y, width, 13);
    return list;
}

QLineEdit* numberBox(QWidget* parent, int x, int y, int width)
{
    auto* box = new QLineEdit(parent);
    place(box, x, y, width, 13);
    return box;
}

SearchDate dateOf(const std::array<QLineEdit*, 3>& boxes)
{
    return { toSjis(boxes[0]->text()), toSjis(boxes[1]->text()), toSjis(boxes[2]->text()) };
}

} // namespace

SearchWindow::SearchWindow(const RecordLibrary& library, const LibraryImageList& images)
    : m_library(library)
    , m_images(images)
{
    setObjectName(QStringLiteral("SearchWindow"));
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);
    setWindowTitle(uiText(texts::searchCaption));
}

SearchWindow::~SearchWindow() = default;

bool SearchWindow::initDialog()
{
    resize(dialogunits::toPixels(QSize(designWidth, designHeight)) + QSize(explorerWidth, 0));
    buildControls();
    fillLists();
    m_listRect = m_results->geometry();
    return true;
}

void SearchWindow::buildControls()
{
    m_preview = new PreviewBoard(this);
    m_preview->move(0, 0);
    connect(m_preview, &PreviewBoard::searchWanted, this, [this] {
        if (m_incremental->isChecked())
            search();
    });

    // The explorer stands right of the criteria, as tall as the board and its buttons.
    m_explorer = new OpeningExplorerPanel(m_library, searchedCollection, this);
    const QRect criteria = dialogunits::toPixels(0, 0, designWidth, 180);
    m_explorer->setGeometry(criteria.right() + 1, BoardGeometry::shownAtY,
        explorerWidth - BoardGeometry::shownAtX, criteria.height() - BoardGeometry::shownAtY);
    connect(m_preview, &PreviewBoard::positionChanged, this,
        [this] { m_explorer->showPosition(OpeningExplorerPanel::squaresOf(m_preview->game())); });
    connect(m_explorer, &OpeningExplorerPanel::moveChosen, this, [this](int square) {
        m_preview->play({ square % 8, square / 8 });
    });
    m_explorer->showPosition({});

    addLabel(this, uiText(texts::searchBlack), 147, 6, 22, 10);
    m_black = dropDownList(this, 169, 3, 76);
    m_black->setObjectName(QStringLiteral("blackList"));
    addLabel(this, uiText(texts::searchWhite), 147, 21, 22, 10);
    m_white = dropDownList(this, 169, 19, 76);
    m_white->setObjectName(QStringLiteral("whiteList"));
    m_or = new QRadioButton(uiText(texts::searchOr), this);
    place(m_or, 259, 6, 25, 10);
    m_and = new QRadioButton(uiText(texts::searchAnd), this);
    place(m_and, 259, 20, 30, 10);
    m_or->setChecked(true);

    addLabel(this, uiText(texts::searchWinner), 147, 41, 22, 10);
    m_winner = dropDownList(this, 169, 39, 48);
    m_winner->setObjectName(QStringLiteral("winnerList"));
    for (const FixedText* entry :
        { &texts::searchAll, &texts::searchBlackWon, &texts::searchWhiteWon, &texts::searchDraw })
        m_winner->addItem(uiText(*entry));

    addLabel(this, uiText(texts::searchDate), 146, 61, 23, 10);
    struct DateRow {
        std::array<QLineEdit*, 3>& boxes;
        int y;
        const FixedText& dayLabel;
    };
    for (const DateRow& row : { DateRow { m_from, 59, texts::searchFromDay },
             DateRow { m_to, 78, texts::searchToDay } }) {
        row.boxes[0] = numberBox(this, 169, row.y, 26);
        addLabel(this, uiText(texts::searchYear), 196, row.y + 2, 9, 10);
        row.boxes[1] = numberBox(this, 205, row.y, 13);
        addLabel(this, uiText(texts::searchMonth), 219, row.y + 2, 10, 10);
        row.boxes[2] = numberBox(this, 230, row.y, 13);
        addLabel(this, uiText(row.dayLabel), 244, row.y + 2, 30, 10);
    }

    m_incremental = new QCheckBox(uiText(texts::searchIncremental), this);
    place(m_incremental, 155, 148, 59, 10);

    m_search = new QPushButton(uiText(texts::searchRun), this);
    place(m_search, 154, 164, 50, 14);
    m_search->setDefault(true);
    connect(m_search, &QPushButton::clicked, this, &SearchWindow::search);
    m_close = new QPushButton(uiText(texts::buttonClose), this);
    place(m_close, 246, 164, 50, 14);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    m_model = new RecordListModel(m_library, m_images, this);
    m_model->showRecords(searchedCollection, {});
    m_results = new QTreeView(this);
    m_results->setObjectName(QStringLiteral("results"));
    m_results->setRootIsDecorated(false);
    m_results->setItemsExpandable(false);
    // Every row has the same height, so a list of many thousand rows is laid out at once.
    m_results->setUniformRowHeights(true);
    m_results->setSelectionMode(QAbstractItemView::SingleSelection);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setAllColumnsShowFocus(true);
    m_results->setIconSize(QSize(16, 16));
    m_results->setModel(m_model);
    m_results->header()->setSectionsClickable(false);
    m_results->header()->setSectionsMovable(false);
    m_results->header()->setStretchLastSection(false);
    for (size_t c = 0; c < columnWidths.size(); ++c)
        m_results->header()->resizeSection(static_cast<int>(c), columnWidths[c]);
    place(m_results, 1, 182, 299, 120);
    connect(m_results, &QTreeView::doubleClicked, this,
        [this](const QModelIndex& index) { openResult(index.row()); });
}

void SearchWindow::fillLists()
{
    // The list position of a name is its player index; entry 0, the unknown player, is not
    // offered, and position 0 stands for every player instead.
    const PlayerNameTable& names = m_library.collection(searchedCollection).playerNames();
    QStringList entries;
    entries.reserve(names.size());
    entries << uiText(texts::searchAll);
    for (int i = 1; i < names.size(); ++i)
        entries << fromSjis(names.name(i));
    for (QComboBox* list : { m_black, m_white }) {
        list->addItems(entries);
        list->setCurrentIndex(0);
    }
    m_winner->setCurrentIndex(0);
}

SearchCriteria SearchWindow::criteria() const
{
    SearchCriteria c;
    c.black = m_black->currentIndex();
    c.white = m_white->currentIndex();
    c.bothPlayers = m_and->isChecked();
    c.winner = m_winner->currentIndex();
    c.from = dateOf(m_from);
    c.to = dateOf(m_to);
    c.moves = m_preview->game().moves();
    c.movesCompared = m_preview->game().cursor();
    return c;
}

void SearchWindow::search()
{
    m_model->showRecords(
        searchedCollection, m_library.collection(searchedCollection).search(criteria()));
}

void SearchWindow::openResult(int row)
{
    if (row < 0 || row >= m_model->rowCount() || !gateway())
        return;
    gateway()->openViewer(searchedCollection, itemIndex(m_model->keyAt(row)));
}

void SearchWindow::resizeEvent(QResizeEvent* event)
{
    ProtocolListener::resizeEvent(event);
    const QSize initial = initialClientSize();
    if (!m_results || !initial.isValid())
        return;
    const QSize grown = event->size() - initial;
    m_results->setGeometry(m_listRect.x(), m_listRect.y(),
        std::max(0, m_listRect.width() + grown.width()),
        std::max(0, m_listRect.height() + grown.height()));
}
