#include "tablesimwindow.h"

#include "capture/tabletitle.h"
#include "text/cp932.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

using namespace board;

TableSimWindow::TableSimWindow(TableScript script)
    : m_script(std::move(script))
{
    m_scene.layout = m_script.layout;
    setFixedSize(tablepicture::width(m_scene.layout), tablepicture::height(m_scene.layout));
    setWindowTitle(QString::fromStdString(
        cp932::toUtf8(tabletitle::make(m_script.room, m_script.table, m_script.host))));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TableSimWindow::step);
    startGame();
}

void TableSimWindow::startGame()
{
    m_game.reset();
    m_game.selectVariant(OthelloBoard::kVariantStandard);
    m_played = 0;
    m_discShown = false;
    m_gameDone = false;
    m_scene.marked = -1;
    showBoard();
    m_timer.start(m_script.interval);
}

void TableSimWindow::showBoard()
{
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column)
            m_scene.cells[static_cast<size_t>(row * 8 + column)]
                = static_cast<uint8_t>(m_game.cell(squareAt(row, column)));
    const bool whiteSeated = m_played >= m_script.whiteArrives;
    const std::string white = whiteSeated ? m_script.whiteName : std::string();
    m_scene.blackUpper = !m_script.blackLower;
    m_scene.upperName = m_script.blackLower ? white : m_script.blackName;
    m_scene.lowerName = m_script.blackLower ? m_script.blackName : white;
    update();
}

void TableSimWindow::step()
{
    if (m_gameIndex >= m_script.games.size()) {
        m_finished = true;
        emit allGamesPlayed();
        return;
    }
    const MoveList& moves = m_script.games[m_gameIndex];
    if (m_gameDone) {
        // The hold is over: the next game, or the end.
        ++m_gameIndex;
        if (m_gameIndex < m_script.games.size()) {
            m_scene.report = false;
            startGame();
        } else {
            m_finished = true;
            emit allGamesPlayed();
        }
        return;
    }
    if (m_played >= moves.size()) {
        m_gameDone = true;
        m_scene.report = m_script.report;
        update();
        m_timer.start(m_script.hold);
        return;
    }
    const int square = moves[m_played];
    int colour = m_game.sideToMove();
    if (!m_game.canPlay(square, colour))
        colour = opponent(colour);
    if (!m_game.canPlay(square, colour)) {
        // A move neither side may play ends this game where it stands.
        m_played = moves.size();
        m_timer.start(m_script.interval);
        return;
    }
    if (m_script.flipDelay > 0 && !m_discShown) {
        // The client draws the disc first and its flips a moment later.
        m_discShown = true;
        m_scene.cells[static_cast<size_t>(rowOf(square) * 8 + columnOf(square))]
            = static_cast<uint8_t>(colour);
        m_scene.marked = rowOf(square) * 8 + columnOf(square);
        update();
        m_timer.start(m_script.flipDelay);
        return;
    }
    m_discShown = false;
    m_game.playAndRecord(square, colour);
    ++m_played;
    m_scene.marked = rowOf(square) * 8 + columnOf(square);
    showBoard();
    m_timer.start(m_script.interval);
}

void TableSimWindow::paintEvent(QPaintEvent*)
{
    const Picture picture = tablepicture::draw(m_scene);
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels().data()), picture.width(),
        picture.height(), picture.width() * 3, QImage::Format_RGB888);
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

void TableSimWindow::mousePressEvent(QMouseEvent* event)
{
    int x, y, w, h;
    tablepicture::reportRect(m_scene.layout, x, y, w, h);
    const QPoint at = event->position().toPoint();
    if (m_scene.report && QRect(x, y, w, h).contains(at)) {
        m_scene.report = false;
        update();
    }
}
