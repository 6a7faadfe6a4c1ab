// table-sim: opens table windows drawn as the Yahoo! Games Othello client draws them and plays
// games in them move by move, so that the capture can be tried and tested without the client.

#include "board/notation.h"
#include "tablesimwindow.h"
#include "text/cp932.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows a Yahoo! Games Othello table window and plays games in it."));
    parser.addHelpOption();
    const QCommandLineOption layout(QStringLiteral("layout"), QStringLiteral("0 (large) or 1."),
        QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption room(QStringLiteral("room"), QStringLiteral("Room name."),
        QStringLiteral("name"), QStringLiteral("room"));
    const QCommandLineOption table(QStringLiteral("table"), QStringLiteral("Table number."),
        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Host name."),
        QStringLiteral("name"), QStringLiteral("host"));
    const QCommandLineOption black(QStringLiteral("black"), QStringLiteral("Black's name."),
        QStringLiteral("name"), QStringLiteral("black"));
    const QCommandLineOption white(QStringLiteral("white"), QStringLiteral("White's name."),
        QStringLiteral("name"), QStringLiteral("white"));
    const QCommandLineOption moves(QStringLiteral("moves"),
        QStringLiteral("A game as F5D6C3...; repeat for the next games at the table."),
        QStringLiteral("moves"));
    const QCommandLineOption interval(QStringLiteral("interval"),
        QStringLiteral("Milliseconds between moves."), QStringLiteral("ms"), QStringLiteral("400"));
    const QCommandLineOption flipDelay(QStringLiteral("flip-delay"),
        QStringLiteral("Milliseconds a new disc shows before its flips."), QStringLiteral("ms"),
        QStringLiteral("0"));
    const QCommandLineOption hold(QStringLiteral("hold"),
        QStringLiteral("Milliseconds the final position stays."), QStringLiteral("ms"),
        QStringLiteral("1500"));
    const QCommandLineOption blackLower(
        QStringLiteral("black-lower"), QStringLiteral("Black sits in the lower name box."));
    const QCommandLineOption whiteArrives(QStringLiteral("white-arrives"),
        QStringLiteral("The white seat is empty until this many moves are played."),
        QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption report(
        QStringLiteral("report"), QStringLiteral("Show the result report after each game."));
    const QCommandLineOption quit(
        QStringLiteral("quit"), QStringLiteral("Quit when every game has been played."));
    const QCommandLineOption position(
        QStringLiteral("position"), QStringLiteral("Window position."), QStringLiteral("x,y"));
    parser.addOptions({ layout, room, table, host, black, white, moves, interval, flipDelay, hold,
        blackLower, whiteArrives, report, quit, position });
    parser.process(app);

    TableScript script;
    script.layout = parser.value(layout).toInt() == 0 ? 0 : 1;
    script.room = cp932::fromUtf8(parser.value(room).toStdString());
    script.table = parser.value(table).toInt();
    script.host = cp932::fromUtf8(parser.value(host).toStdString());
    script.blackName = parser.value(black).toStdString();
    script.whiteName = parser.value(white).toStdString();
    for (const QString& game : parser.values(moves)) {
        const MoveList list = textToMoves(game.toStdString());
        if (list.size() * 2 != game.size()) {
            std::fprintf(stderr, "table-sim: not a move list: %s\n", qPrintable(game));
            return 2;
        }
        script.games.push_back(list);
    }
    script.interval = std::max(parser.value(interval).toInt(), 1);
    script.flipDelay = std::max(parser.value(flipDelay).toInt(), 0);
    script.hold = std::max(parser.value(hold).toInt(), 1);
    script.blackLower = parser.isSet(blackLower);
    script.whiteArrives = std::max(parser.value(whiteArrives).toInt(), 0);
    script.report = parser.isSet(report);
    script.quitAtEnd = parser.isSet(quit);

    TableSimWindow window(script);
    if (parser.isSet(position)) {
        const QStringList xy = parser.value(position).split(QLatin1Char(','));
        if (xy.size() == 2)
            window.move(xy[0].toInt(), xy[1].toInt());
    }
    if (script.quitAtEnd)
        QObject::connect(&window, &TableSimWindow::allGamesPlayed, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
