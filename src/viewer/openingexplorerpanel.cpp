#include "viewer/openingexplorerpanel.h"

#include "board/othellogame.h"
#include "board/squares.h"
#include "library/collectiontree.h"
#include "library/recordlibrary.h"
#include "platform/sjis.h"
#include "text/texts.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QString text(const FixedText& t)
{
    return QString::fromUtf8(t.utf8().data(), static_cast<qsizetype>(t.utf8().size()));
}

// A square's name as the move text writes it: file letter and rank digit, as in
// C3.
QString moveName(int square)
{
    return QString(QChar(u'A' + square % 8)) + QChar(u'1' + square / 8);
}

enum Column { MoveColumn, GamesColumn, BlackColumn, WhiteColumn, OtherColumn, AverageColumn };

} // namespace

OpeningExplorerPanel::OpeningExplorerPanel(
    const RecordLibrary& library, int collection, QWidget* parent)
    : QWidget(parent)
    , m_library(library)
    , m_collection(collection)
{
    setObjectName(QStringLiteral("OpeningExplorerPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(text(texts::explorerCollection), this));
    m_choice = new QComboBox(this);
    for (int c = 0; c < collectionCount; ++c)
        m_choice->addItem(fromSjis(m_library.collection(c).displayName()), c);
    m_choice->setCurrentIndex(m_choice->findData(collection));
    top->addWidget(m_choice, 1);
    layout->addLayout(top);

    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setHeaderLabels({ text(texts::explorerMove), text(texts::explorerGames),
        text(texts::explorerBlackWins), text(texts::explorerWhiteWins), text(texts::explorerOthers),
        text(texts::explorerAverage) });
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setStretchLastSection(false);
    layout->addWidget(m_list, 1);

    connect(m_choice, &QComboBox::currentIndexChanged, this,
        [this](int index) { setCollection(m_choice->itemData(index).toInt()); });
    connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        // The wait line carries no square.
        const QVariant square = item->data(MoveColumn, Qt::UserRole);
        if (square.isValid())
            emit moveChosen(square.toInt());
    });
    connect(&m_indexing, &QFutureWatcherBase::finished, this, &OpeningExplorerPanel::indexed);
}

// A job still running owns its snapshot and touches neither the panel nor the
// tree: its index is left to be dropped, and the window closes without waiting.
OpeningExplorerPanel::~OpeningExplorerPanel()
{
    m_indexing.disconnect(this);
}

std::vector<int> OpeningExplorerPanel::squaresOf(const OthelloGame& game)
{
    std::vector<int> squares;
    squares.reserve(static_cast<size_t>(game.cursor()));
    for (int i = 0; i < game.cursor(); ++i) {
        const MoveEntry* entry = game.entry(i);
        squares.push_back(board::rowOf(entry->square) * 8 + board::columnOf(entry->square));
    }
    return squares;
}

void OpeningExplorerPanel::showPosition(const std::vector<int>& squaresFromStart)
{
    m_position = squaresFromStart;
    fill();
}

void OpeningExplorerPanel::setCollection(int collection)
{
    if (collection == m_collection && m_explorer)
        return;
    m_collection = collection;
    m_explorer.reset();
    const int index = m_choice->findData(collection);
    if (index != m_choice->currentIndex())
        m_choice->setCurrentIndex(index);
    fill();
}

void OpeningExplorerPanel::changeEvent(QEvent* event)
{
    // Records may have come or gone while another window was in use: the explorer
    // notices that itself, so coming back shows the collection as it is now.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_explorer)
        fill();
    QWidget::changeEvent(event);
}

void OpeningExplorerPanel::fill()
{
    if (!m_explorer)
        m_explorer = std::make_unique<OpeningExplorer>(m_library.collection(m_collection));
    // An index made before the records changed would walk them in the wrong order.
    std::optional<std::vector<ExplorerMove>> moves = m_explorer->exploreIfCurrent(m_position);
    if (!moves) {
        startIndexing();
        showWaiting();
        return;
    }
    m_moves = std::move(*moves);
    showMoves();
}

void OpeningExplorerPanel::startIndexing()
{
    // Until indexed() has the job's result, not only until the job ends: a new
    // future set on the watcher before that would take the old one's signal.
    if (m_indexingStarted)
        return; // indexed() starts again if the job was for other records
    m_indexingStarted = true;
    m_indexedCollection = m_collection;
    m_indexing.setFuture(QtConcurrent::run(&OpeningExplorer::makeIndex, m_explorer->snapshot()));
}

void OpeningExplorerPanel::indexed()
{
    m_indexingStarted = false;
    OpeningExplorer::Index index = m_indexing.future().takeResult();
    // An index for a collection no longer chosen is dropped; one whose records
    // changed since its snapshot installs as not current, and fill() starts over.
    if (m_explorer && m_indexedCollection == m_collection)
        m_explorer->install(std::move(index));
    fill();
}

void OpeningExplorerPanel::showWaiting()
{
    m_moves.clear();
    m_list->clear();
    auto* row = new QTreeWidgetItem;
    row->setText(MoveColumn, text(texts::explorerCounting));
    row->setFlags(Qt::ItemIsEnabled);
    m_list->addTopLevelItem(row);
    row->setFirstColumnSpanned(true);
}

void OpeningExplorerPanel::showMoves()
{
    m_list->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(m_moves.size()));
    for (const ExplorerMove& move : m_moves) {
        auto* row = new QTreeWidgetItem;
        row->setText(MoveColumn, moveName(move.square));
        row->setData(MoveColumn, Qt::UserRole, move.square);
        row->setText(GamesColumn, QString::number(move.games));
        row->setText(BlackColumn, QString::number(move.blackWins));
        row->setText(WhiteColumn, QString::number(move.whiteWins));
        row->setText(OtherColumn, QString::number(move.others));
        row->setText(AverageColumn,
            move.avgBlackDiscs ? QString::number(*move.avgBlackDiscs, 'f', 1)
                               : text(texts::explorerNoAverage));
        for (int c = GamesColumn; c <= AverageColumn; ++c)
            row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        rows.append(row);
    }
    m_list->addTopLevelItems(rows);
}
