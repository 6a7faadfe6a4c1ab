#include "viewer/recordviewer.h"

#include "library/recordlibrary.h"
#include "platform/sjis.h"
#include "records/gamerecord.h"
#include "text/texts.h"
#include "ui/dialogcontrols.h"
#include "ui/dialogunits.h"
#include "ui/folderremoval.h"
#include "viewer/diagramimage.h"
#include "viewer/gameposition.h"
#include "viewer/openingexplorerpanel.h"
#include "viewer/picturebutton.h"
#include "viewer/resultlabels.h"
#include "viewer/sharedbrushes.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>

namespace {

// The window's designed size and the comment box, in dialog units.
constexpr int designWidth = 139;
constexpr int designHeight = 279;
constexpr int commentTop = 217;
constexpr int commentHeight = 60;
// The gap between the folded window's bottom edge and where the comment box starts.
constexpr int foldGap = 3;

using dialogcontrols::place;
using dialogcontrols::uiText;

QLabel* label(
    QWidget* parent, int x, int y, int width, int height, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* l = new QLabel(parent);
    l->setAlignment(alignment | Qt::AlignVCenter);
    place(l, x, y, width, height);
    return l;
}

} // namespace

RecordViewer::RecordViewer(const RecordLibrary& library, int collection, int record)
    : m_library(library)
    , m_collection(collection)
    , m_record(record)
{
    setObjectName(QStringLiteral("RecordViewer"));
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);
    setWindowTitle(uiText(texts::viewerCaption));
}

RecordViewer::~RecordViewer() = default;

uint32_t RecordViewer::recordKey(int collection, int record)
{
    return (static_cast<uint32_t>(collection) << 24) | (static_cast<uint32_t>(record) & 0xFFFFFF);
}

bool RecordViewer::initDialog()
{
    if (m_collection < 0 || m_collection >= collectionCount)
        return false;
    const CollectionTree& tree = m_library.collection(m_collection);
    if (m_record < 0 || m_record >= tree.slotCount())
        return false;
    const GameRecord& record = tree.record(m_record);

    buildControls();
    // The window opens folded; the unfold button is gone when there is no comment to show.
    m_width = dialogunits::toPixelsX(designWidth);
    m_fullHeight = dialogunits::toPixelsY(designHeight);
    m_foldedHeight = m_fullHeight - m_comment->height() - foldGap;
    m_explorer = new OpeningExplorerPanel(m_library, m_collection, this);
    m_explorer->setGeometry(m_width, BoardGeometry::shownAtY,
        explorerWidth - BoardGeometry::shownAtX, m_foldedHeight - 2 * BoardGeometry::shownAtY);
    connect(m_explorer, &OpeningExplorerPanel::moveChosen, this, &RecordViewer::playSquare);
    setHeight(m_foldedHeight);
    if (record.comment.empty())
        m_unfold->hide();

    setWindowTitle(fromSjis(record.name));
    const PlayerNameTable& names = tree.playerNames();
    m_blackName->setText(fromSjis(names.name(record.blackPlayer)));
    m_whiteName->setText(fromSjis(names.name(record.whitePlayer)));
    QString comment = fromSjis(record.comment);
    comment.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_comment->setPlainText(comment);

    gameOfRecord(record, m_game);
    refresh();

    const ResultLabels result = resultLabels(record);
    m_blackDiscs->setText(fromSjis(result.blackDiscs));
    m_whiteDiscs->setText(fromSjis(result.whiteDiscs));
    m_blackResult->setText(fromSjis(result.blackWord));
    m_whiteResult->setText(fromSjis(result.whiteWord));

    connectButtons();
    return true;
}

void RecordViewer::buildControls()
{
    m_stepButtons = addStepButtons(this);

    m_moveCounter = label(this, 112, 165, 22, 12, Qt::AlignRight);
    // The counter stands on white, whatever the system's colours.
    QPalette counterColours = m_moveCounter->palette();
    counterColours.setBrush(QPalette::Window, SharedBrushes::instance().brush(SharedColour::White));
    m_moveCounter->setPalette(counterColours);
    m_moveCounter->setAutoFillBackground(true);

    label(this, 2, 183, 11, 11)->setText(uiText(texts::viewerBlack));
    label(this, 2, 197, 11, 11)->setText(uiText(texts::viewerWhite));
    m_blackName = label(this, 18, 183, 67, 11);
    m_whiteName = label(this, 18, 197, 67, 11);
    m_blackDiscs = label(this, 90, 183, 12, 11, Qt::AlignRight);
    m_whiteDiscs = label(this, 90, 197, 12, 11, Qt::AlignRight);
    m_blackDiscs->setText(uiText(texts::viewerNoDiscCount));
    m_whiteDiscs->setText(uiText(texts::viewerNoDiscCount));
    m_blackResult = label(this, 110, 183, 28, 11);
    m_whiteResult = label(this, 110, 197, 28, 11);

    m_unfold = new PictureButton(this);
    m_unfold->setImages(StepButtons::instance().unfoldArrow());
    place(m_unfold, 108, 211, 30, 6);
    m_fold = new PictureButton(this);
    m_fold->setImages(StepButtons::instance().foldArrow());
    place(m_fold, 108, 211, 30, 6);
    m_fold->hide();

    m_comment = new QPlainTextEdit(this);
    m_comment->setReadOnly(true);
    m_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(m_comment, 1, commentTop, 137, commentHeight);
}

void RecordViewer::connectButtons()
{
    connect(m_stepButtons[StepButtons::First], &QAbstractButton::clicked, this,
        &RecordViewer::goToStart);
    connect(
        m_stepButtons[StepButtons::Last], &QAbstractButton::clicked, this, &RecordViewer::goToEnd);
    // A mouse press steps at once and arms the repeat; the click that follows on the release
    // then finds its counter set and does nothing, while a click from the keyboard, with the
    // counter at 0, makes its one step. The button reports the release after its click.
    PictureButton* back = m_stepButtons[StepButtons::Back];
    PictureButton* forward = m_stepButtons[StepButtons::Forward];
    connect(back, &PictureButton::leftPressed, this, [this] {
        stepBack();
        m_backRepeat = 1;
    });
    connect(forward, &PictureButton::leftPressed, this, [this] {
        stepForward();
        m_forwardRepeat = 1;
    });
    for (PictureButton* button : { back, forward }) {
        connect(button, &PictureButton::leftReleased, this, [this] {
            m_backRepeat = 0;
            m_forwardRepeat = 0;
        });
    }
    connect(back, &QAbstractButton::clicked, this, [this] {
        if (m_backRepeat == 0)
            stepBack();
    });
    connect(forward, &QAbstractButton::clicked, this, [this] {
        if (m_forwardRepeat == 0)
            stepForward();
    });
    connect(m_unfold, &QAbstractButton::clicked, this, &RecordViewer::unfoldComment);
    connect(m_fold, &QAbstractButton::clicked, this, &RecordViewer::foldComment);
}

int32_t RecordViewer::onWindow(const WindowNotice& notice, int32_t)
{
    // A record that goes away takes its viewer with it: its slot may soon hold another record,
    // which this viewer would then stand for when that one is opened.
    if (removalTakesRecord(m_library, m_collection, m_record, notice)) {
        reject();
        return noticeHandled;
    }
    if (notice.kind != WindowViewRecord || notice.key != recordKey(m_collection, m_record))
        return noticeIgnored;
    comeForward();
    return noticeHandled;
}

int32_t RecordViewer::onTick(const TickNotice&, int32_t)
{
    if (m_backRepeat != 0) {
        if (m_backRepeat++ >= repeatDelayTicks)
            stepBack();
    } else if (m_forwardRepeat != 0) {
        if (m_forwardRepeat++ >= repeatDelayTicks)
            stepForward();
    }
    return noticeHandled;
}

void RecordViewer::goToStart()
{
    while (m_game.undo()) { }
    m_backRepeat = 0;
    m_forwardRepeat = 0;
    refresh();
}

void RecordViewer::goToEnd()
{
    while (m_game.redo()) { }
    m_backRepeat = 0;
    m_forwardRepeat = 0;
    refresh();
}

void RecordViewer::stepBack()
{
    if (!m_game.undo()) {
        m_backRepeat = 0;
        return;
    }
    refresh();
}

void RecordViewer::stepForward()
{
    if (!m_game.redo()) {
        m_forwardRepeat = 0;
        return;
    }
    refresh();
}

void RecordViewer::refresh()
{
    showGamePosition(*this, m_picture, m_game, *m_moveCounter, m_stepButtons);
    if (m_explorer)
        m_explorer->showPosition(OpeningExplorerPanel::squaresOf(m_game));
}

bool RecordViewer::playSquare(int square)
{
    if (square < 0 || square >= 64)
        return false;
    const int at = board::squareAt(square / 8, square % 8);
    const MoveEntry* next = m_game.entry(m_game.cursor());
    if (m_game.cursor() < m_game.length() && next != nullptr && next->square == at) {
        stepForward();
        return true;
    }
    if (m_game.playAndRecord(at, m_game.sideToMove()) == nullptr)
        return false;
    m_backRepeat = 0;
    m_forwardRepeat = 0;
    refresh();
    return true;
}

bool RecordViewer::saveDiagram(const QString& path) const
{
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        const std::string svg = diagramSvg(diagram());
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(svg.data(), static_cast<qint64>(svg.size()))
            == static_cast<qint64>(svg.size())
            && file.flush();
    }
    return diagramImage(diagram()).save(path, "PNG");
}

void RecordViewer::copyDiagram() const
{
    const BoardDiagram shown = diagram();
    auto* data = new QMimeData;
    data->setImageData(diagramImage(shown));
    const std::string svg = diagramSvg(shown);
    data->setData(QStringLiteral("image/svg+xml"),
        QByteArray(svg.data(), static_cast<qsizetype>(svg.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

void RecordViewer::saveDiagramAs()
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        this, QString(), QString(), uiText(texts::diagramSaveFilter), &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += filter.contains(QStringLiteral("*.svg")) ? QStringLiteral(".svg")
                                                         : QStringLiteral(".png");
    if (!saveDiagram(path)) {
        QMessageBox::warning(this, uiText(texts::viewerCaption),
            QString::asprintf(texts::diagramSaveFailed.utf8().data(),
                qUtf8Printable(QFileInfo(path).fileName())));
    }
}

void RecordViewer::contextMenuEvent(QContextMenuEvent* event)
{
    if (!BoardImage::shownRect().contains(event->pos())) {
        ProtocolListener::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    menu.addAction(uiText(texts::diagramSave), this, &RecordViewer::saveDiagramAs);
    menu.addAction(uiText(texts::diagramCopy), this, &RecordViewer::copyDiagram);
    menu.addSeparator();
    QAction* numbers = menu.addAction(uiText(texts::diagramNumbers));
    numbers->setCheckable(true);
    numbers->setChecked(m_diagramNumbers);
    connect(numbers, &QAction::toggled, this, &RecordViewer::setDiagramNumbers);
    menu.exec(event->globalPos());
}

void RecordViewer::unfoldComment()
{
    setHeight(m_fullHeight);
    m_fold->show();
    m_unfold->hide();
}

void RecordViewer::foldComment()
{
    setHeight(m_foldedHeight);
    m_unfold->show();
    m_fold->hide();
}

void RecordViewer::setHeight(int height)
{
    // The two heights are the only sizes the window has; the user cannot resize it.
    setFixedSize(m_width + explorerWidth, height);
}

void RecordViewer::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();
        return;
    }
    ProtocolListener::keyPressEvent(event);
}

void RecordViewer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_picture.show(painter);
}
