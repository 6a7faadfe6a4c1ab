#include "library/recordlibrary.h"
#include "platform/sjis.h"
#include "records/openingbook.h"
#include "ui/libraryimagelist.h"
#include "ui/listdatetext.h"
#include "ui/listrowcompare.h"
#include "ui/recordlistmodel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct RecordFields {
    const char* name;
    const char* black;
    const char* white;
    int winner;
    int endType;
    int blackDiscs;
    int whiteDiscs;
    int opening;
    int32_t playedAt;
    int32_t deletedAt;
};

// A library in a fresh data directory, with helpers that fill one folder.
class ListFixture : public testing::Test {
protected:
    ListFixture()
        : m_images(*QApplication::style())
    {
        m_library.load(QDir(m_dir.path()).absolutePath().toStdString() + "/", 0);
    }

    int addFolder(int collection, const char* name, int32_t created, int32_t deletedAt = 0)
    {
        CollectionTree& t = m_library.collection(collection);
        const int f = t.addFolder(0, toSjis(u(name)), created);
        t.setFolderDeletedAt(f, deletedAt);
        return f;
    }

    int addRecord(int collection, const RecordFields& fields)
    {
        CollectionTree& t = m_library.collection(collection);
        GameRecord r;
        r.name = toSjis(u(fields.name));
        r.blackPlayer = static_cast<int16_t>(t.playerNames().findOrAdd(toSjis(u(fields.black))));
        r.whitePlayer = static_cast<int16_t>(t.playerNames().findOrAdd(toSjis(u(fields.white))));
        r.winner = static_cast<int8_t>(fields.winner);
        r.endType = static_cast<int8_t>(fields.endType);
        r.blackDiscs = static_cast<int8_t>(fields.blackDiscs);
        r.whiteDiscs = static_cast<int8_t>(fields.whiteDiscs);
        r.opening = static_cast<int16_t>(fields.opening);
        r.playedAt = fields.playedAt;
        r.deletedAt = fields.deletedAt;
        return t.addRecord(0, r);
    }

    QStringList namesInOrder(const RecordListModel& model) const
    {
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.data(model.index(row, 0)).toString();
        return names;
    }

    QTemporaryDir m_dir;
    RecordLibrary m_library;
    LibraryImageList m_images;
};

using RecordListModelTest = ListFixture;

// Two folders and three records whose six columns order them in six different ways.
const RecordFields recordX { "x", "P", "Q", GameRecord::whiteWins, 0, 20, 44, 2, 1000, 0 };
const RecordFields recordY { "y", "P", "R", GameRecord::blackWins, 0, 40, 24, 1, 2000, 0 };
const RecordFields recordW { "w", "Z", "Q", GameRecord::noWinner, 3, 0, 0, 3, 3000, 0 };

TEST_F(RecordListModelTest, EveryColumnSortsBothWaysWithFoldersFirstThenLast)
{
    addFolder(myRecordsCollection, "b", 200);
    addFolder(myRecordsCollection, "a", 100);
    addRecord(myRecordsCollection, recordX);
    addRecord(myRecordsCollection, recordY);
    addRecord(myRecordsCollection, recordW);

    RecordListModel model(m_library, m_images);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const FolderKey root { myRecordsCollection, 0 };
    model.show(root, RecordListModel::modeFor(m_library, root));
    ASSERT_EQ(model.mode(), ListMode::Records);
    EXPECT_EQ(namesInOrder(model), QStringList({ "b", "a", "x", "y", "w" }));

    const std::vector<QStringList> ascending {
        { "a", "b", "w", "x", "y" }, // 名前
        { "a", "b", "x", "y", "w" }, // 黒番: P (earlier game first), then Z
        { "a", "b", "x", "w", "y" }, // 白番: Q (earlier game first), then R
        { "a", "b", "y", "w", "x" }, // 結果: Black's win, no winner, White's win
        { "a", "b", "y", "x", "w" }, // 定石: smaller number first
        { "b", "a", "w", "y", "x" }, // 日付: newest first; folders by creation
    };
    for (int column = 0; column < 6; ++column) {
        SCOPED_TRACE(column);
        model.sortRows(column, false);
        EXPECT_EQ(namesInOrder(model), ascending[static_cast<size_t>(column)]);
        model.sortRows(column, true);
        QStringList reversed = ascending[static_cast<size_t>(column)];
        std::reverse(reversed.begin(), reversed.end());
        EXPECT_EQ(namesInOrder(model), reversed);
    }

    // Showing the folder again gives its own order back.
    model.show(root, ListMode::Records);
    EXPECT_EQ(namesInOrder(model), QStringList({ "b", "a", "x", "y", "w" }));
}

TEST_F(RecordListModelTest, TrashTimeColumnMixesFoldersAndRecords)
{
    addFolder(trashCollection, "f", 100, 500);
    RecordFields x = recordX;
    x.deletedAt = 600;
    RecordFields y = recordY;
    y.deletedAt = 400;
    addRecord(trashCollection, x);
    addRecord(trashCollection, y);

    RecordListModel model(m_library, m_images);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const FolderKey trash { trashCollection, 0 };
    model.show(trash, RecordListModel::modeFor(m_library, trash));
    ASSERT_EQ(model.mode(), ListMode::Trash);
    ASSERT_EQ(model.columnCount(), 7);

    model.sortRows(1, false);
    EXPECT_EQ(namesInOrder(model), QStringList({ "x", "f", "y" }));
    model.sortRows(1, true);
    EXPECT_EQ(namesInOrder(model), QStringList({ "y", "f", "x" }));
    // The other columns are the records layout's one place to the right, folders first.
    model.sortRows(4, false); // 結果
    EXPECT_EQ(namesInOrder(model), QStringList({ "f", "y", "x" }));
    model.sortRows(5, false); // 定石
    EXPECT_EQ(namesInOrder(model), QStringList({ "f", "y", "x" }));
    model.sortRows(6, false); // 日付
    EXPECT_EQ(namesInOrder(model), QStringList({ "f", "y", "x" }));
    model.sortRows(6, true);
    EXPECT_EQ(namesInOrder(model), QStringList({ "x", "y", "f" }));
}

TEST_F(RecordListModelTest, ComputersLayoutNeverReorders)
{
    CollectionTree& network = m_library.collection(networkCollection);
    const int bob = network.addFolder(0, "bob", 0);
    const int alice = network.addFolder(0, "alice", 0);
    network.setShareComment(alice, toSjis(u("対局中")));
    const int shared = network.addFolder(bob, "games", 0);

    RecordListModel model(m_library, m_images);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const FolderKey root { networkCollection, 0 };
    model.show(root, RecordListModel::modeFor(m_library, root));
    ASSERT_EQ(model.mode(), ListMode::Computers);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), u("コメント"));
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), u("対局中"));
    for (bool descending : { false, true }) {
        model.sortRows(0, descending);
        EXPECT_EQ(namesInOrder(model), QStringList({ "bob", "alice" }));
    }
    // A computer keeps the computers layout; its shared folders are listed like any folder.
    EXPECT_EQ(RecordListModel::modeFor(m_library, { networkCollection, bob }), ListMode::Computers);
    EXPECT_EQ(
        RecordListModel::modeFor(m_library, { networkCollection, shared }), ListMode::Records);
}

TEST_F(RecordListModelTest, ColumnsAndPicturesOfEachLayout)
{
    RecordListModel model(m_library, m_images);
    const auto titles = [&model] {
        QStringList t;
        for (int c = 0; c < model.columnCount(); ++c)
            t << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        return t;
    };
    model.show({ yahooCollection, 0 }, ListMode::Records);
    EXPECT_EQ(titles(),
        QStringList({ u("名前"), u("黒番"), u("白番"), u("結果"), u("定石"), u("日付") }));
    model.show({ trashCollection, 0 }, ListMode::Trash);
    EXPECT_EQ(titles(),
        QStringList(
            { u("名前"), u("削除時刻"), u("黒番"), u("白番"), u("結果"), u("定石"), u("日付") }));
    model.show({ networkCollection, 0 }, ListMode::Computers);
    EXPECT_EQ(titles(), QStringList({ u("名前"), u("コメント") }));

    const int shared = addFolder(myRecordsCollection, "s", 0);
    m_library.collection(myRecordsCollection).setShare(shared, "share", "");
    addFolder(myRecordsCollection, "plain", 0);
    addRecord(myRecordsCollection, recordX);
    addRecord(myRecordsCollection, recordY);
    addRecord(myRecordsCollection, recordW);
    model.show({ myRecordsCollection, 0 }, ListMode::Records);
    const auto picture = [&](int row) {
        return model.data(model.index(row, 0), Qt::DecorationRole)
            .value<QIcon>()
            .pixmap(16, 16)
            .toImage();
    };
    EXPECT_EQ(picture(0), m_images.pixmap(LibraryImageList::SharedClosedFolder).toImage());
    EXPECT_EQ(picture(1), m_images.pixmap(LibraryImageList::ClosedFolder).toImage());
    EXPECT_EQ(picture(2), m_images.pixmap(LibraryImageList::WhiteWon).toImage());
    EXPECT_EQ(picture(3), m_images.pixmap(LibraryImageList::BlackWon).toImage());
    EXPECT_EQ(picture(4), m_images.pixmap(LibraryImageList::NoWinner).toImage());
    EXPECT_FALSE(model.data(model.index(2, 1), Qt::DecorationRole).isValid());
}

TEST_F(RecordListModelTest, RowTextsOfRecordsAndFolders)
{
    setenv("TZ", "UTC", 1);
    tzset();
    m_library.openingBook().read("F5D6,Tiger\n");
    addFolder(myRecordsCollection, "f", 946684800);
    RecordFields x = recordX;
    x.playedAt = 1234567890;
    x.opening = 0;
    addRecord(myRecordsCollection, x);

    RecordListModel model(m_library, m_images);
    model.show({ myRecordsCollection, 0 }, ListMode::Records);
    QStringList folderRow;
    QStringList recordRow;
    for (int c = 0; c < 6; ++c) {
        folderRow << model.data(model.index(0, c)).toString();
        recordRow << model.data(model.index(1, c)).toString();
    }
    EXPECT_EQ(folderRow, QStringList({ "f", "", "", "", "", "00/01/01" }));
    EXPECT_EQ(
        recordRow, QStringList({ "x", "P", "Q", u("白 20-44"), "Tiger", "09/02/13 23:31:30" }));
    EXPECT_EQ(model.keyAt(0), folderItem(1));
    EXPECT_EQ(model.keyAt(1), recordItem(0));
    EXPECT_EQ(model.keyAt(0), 0x1000001u);

    // In the trash the deletion time comes second and the rest moves one column right.
    CollectionTree& trash = m_library.collection(trashCollection);
    x.deletedAt = 946684800 + 3600;
    addRecord(trashCollection, x);
    const int folder = addFolder(trashCollection, "g", 946684800, 946684800 + 60);
    (void)folder;
    model.show({ trashCollection, 0 }, ListMode::Trash);
    QStringList trashFolder;
    QStringList trashRecord;
    for (int c = 0; c < 7; ++c) {
        trashFolder << model.data(model.index(0, c)).toString();
        trashRecord << model.data(model.index(1, c)).toString();
    }
    EXPECT_EQ(trashFolder, QStringList({ "g", "00/01/01 00:01:00", "", "", "", "", "00/01/01" }));
    EXPECT_EQ(trashRecord,
        QStringList(
            { "x", "00/01/01 01:00:00", "P", "Q", u("白 20-44"), "Tiger", "09/02/13 23:31:30" }));
    EXPECT_EQ(trash.folderCount(), 2);
}

TEST_F(RecordListModelTest, RowOperationsKeepTheModelConsistent)
{
    addFolder(myRecordsCollection, "a", 0);
    const int x = addRecord(myRecordsCollection, recordX);
    RecordListModel model(m_library, m_images);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.show({ myRecordsCollection, 0 }, ListMode::Records);
    const int y = addRecord(myRecordsCollection, recordY);
    model.appendRow(recordItem(y));
    EXPECT_EQ(model.rowOf(recordItem(y)), 2);
    model.removeRowOf(recordItem(x));
    EXPECT_EQ(model.rowOf(recordItem(x)), -1);
    EXPECT_EQ(namesInOrder(model), QStringList({ "a", "y" }));
    model.removeRowOf(recordItem(x)); // not shown: nothing happens
    EXPECT_EQ(model.rowCount(), 2);
    model.show({}, ListMode::Records);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(RecordListModelTest, LabelEditsGoToTheHandlerNotTheModel)
{
    addRecord(myRecordsCollection, recordX);
    RecordListModel model(m_library, m_images);
    model.show({ myRecordsCollection, 0 }, ListMode::Records);
    int editedRow = -1;
    QString typed;
    model.setRenameHandler([&](int row, const QString& text) {
        editedRow = row;
        typed = text;
    });
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    model.setEditable(true);
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 0), u("新"), Qt::EditRole));
    EXPECT_EQ(editedRow, 0);
    EXPECT_EQ(typed, u("新"));
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "x");
}

// The result column from Black's biggest win to White's biggest win.
TEST(ListRowCompare, ResultOrderRunsFromBlackToWhite)
{
    struct Result {
        int winner;
        int endType;
        int black;
        int white;
    };
    const std::vector<Result> expected {
        { GameRecord::blackWins, 0, 50, 14 },
        { GameRecord::blackWins, 0, 33, 31 },
        { GameRecord::blackWins, 1, 0, 0 },
        { GameRecord::blackWins, 2, 0, 0 },
        { GameRecord::blackWins, 3, 0, 0 },
        { GameRecord::blackWins, 4, 0, 0 },
        { GameRecord::noWinner, 4, 0, 0 },
        { GameRecord::noWinner, 3, 0, 0 },
        { GameRecord::noWinner, 0, 32, 32 },
        { GameRecord::whiteWins, 4, 0, 0 },
        { GameRecord::whiteWins, 3, 0, 0 },
        { GameRecord::whiteWins, 2, 0, 0 },
        { GameRecord::whiteWins, 1, 0, 0 },
        { GameRecord::whiteWins, 0, 31, 33 },
        { GameRecord::whiteWins, 0, 10, 54 },
    };
    RecordCollection collection;
    collection.folders.resize(1);
    for (const Result& r : expected) {
        GameRecord record;
        record.folder = 0;
        record.winner = static_cast<int8_t>(r.winner);
        record.endType = static_cast<int8_t>(r.endType);
        record.blackDiscs = static_cast<int8_t>(r.black);
        record.whiteDiscs = static_cast<int8_t>(r.white);
        collection.records.push_back(record);
    }
    std::vector<uint32_t> keys;
    for (size_t i = 0; i < expected.size(); ++i)
        keys.push_back(recordItem(static_cast<int>(expected.size() - 1 - i)));
    std::stable_sort(keys.begin(), keys.end(), [&](uint32_t a, uint32_t b) {
        return compareListRows(collection, ListMode::Records, 3, a, b) < 0;
    });
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(itemIndex(keys[i]), static_cast<int>(i)) << "place " << i;
}

TEST(ListRowCompare, SamePlayerSortsByDateEvenUnderTwoEntries)
{
    RecordCollection collection;
    collection.folders.resize(1);
    const int p1 = collection.names.add("P");
    const int p2 = collection.names.add("P"); // the same name twice in the table
    for (auto [player, date] :
        { std::pair { p1, 300 }, std::pair { p2, 100 }, std::pair { p1, 200 } }) {
        GameRecord record;
        record.blackPlayer = static_cast<int16_t>(player);
        record.playedAt = date;
        collection.records.push_back(record);
    }
    EXPECT_LT(compareListRows(collection, ListMode::Records, 1, recordItem(1), recordItem(2)), 0);
    EXPECT_LT(compareListRows(collection, ListMode::Records, 1, recordItem(2), recordItem(0)), 0);
    EXPECT_LT(compareListRows(collection, ListMode::Records, 1, recordItem(1), recordItem(0)), 0);
}

TEST(ListDateText, FolderAndRecordDates)
{
    setenv("TZ", "UTC", 1);
    tzset();
    struct Case {
        int32_t seconds;
        const char* folder;
        const char* record;
        const char* longRecord;
    };
    for (const Case& c : {
             Case { 0, "70/01/01", "70/01/01 00:00:00", "2070/01/01 00:00:00" },
             Case { 946684800, "00/01/01", "00/01/01 00:00:00", "2000/01/01 00:00:00" },
             Case { 1234567890, "09/02/13", "09/02/13 23:31:30", "2009/02/13 23:31:30" },
             Case { -1, "69/12/31", "69/12/31 23:59:59", "2069/12/31 23:59:59" },
         }) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(listdatetext::folderDate(c.seconds), c.folder);
        EXPECT_EQ(listdatetext::recordDate(c.seconds), c.record);
        EXPECT_EQ(listdatetext::recordDate(c.seconds, true), c.longRecord);
    }
}

} // namespace
