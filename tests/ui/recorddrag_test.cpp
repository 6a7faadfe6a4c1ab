#include "runningprogram.h"

#include "ui/chatpane.h"
#include "ui/dragcursors.h"
#include "ui/recorddrag.h"

#include <QGuiApplication>
#include <QHeaderView>

namespace {

const FolderKey ownRoot { myRecordsCollection, 0 };
const FolderKey yahooRoot { yahooCollection, 0 };
const FolderKey trashRoot { trashCollection, 0 };
const FolderKey networkRoot { networkCollection, 0 };

class RecordDragTest : public RunningProgram {
protected:
    RecordDrag& drag() { return *list().drag(); }
    void show(FolderKey key) { tree().select(key); }
    void selectRows(std::initializer_list<int> rows)
    {
        list().clearSelection();
        for (int row : rows)
            list().selectionModel()->select(list().listModel().index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QPoint rowPoint(int row)
    {
        return list().visualRect(list().listModel().index(row, 1)).center();
    }
    QPoint rowGlobal(int row) { return list().viewport()->mapToGlobal(rowPoint(row)); }
    QPoint emptyAreaGlobal()
    {
        const QRect area = list().viewport()->rect();
        return list().viewport()->mapToGlobal(QPoint(area.center().x(), area.bottom() - 2));
    }
    QPoint nodeGlobal(FolderKey key)
    {
        const QModelIndex index = tree().folderModel().indexOf(key);
        tree().scrollTo(index);
        return tree().viewport()->mapToGlobal(tree().visualRect(index).center());
    }
    QPoint nowhereGlobal()
    {
        return m_frame->chatPane()->mapToGlobal(m_frame->chatPane()->rect().center());
    }
    // Starts a drag at a row and moves it to a point, Ctrl held or not; returns the cursor kind.
    int dragTo(int fromRow, const QPoint& to, bool ctrl = false)
    {
        EXPECT_TRUE(drag().begin(rowPoint(fromRow), rowGlobal(fromRow)));
        drag().move(to, ctrl);
        return drag().cursorKind();
    }
    std::vector<std::string> namesIn(int c, int folder)
    {
        std::vector<std::string> names;
        for (int slot : collection(c).folder(folder).records)
            names.push_back(collection(c).record(slot).name);
        return names;
    }
    // A network computer "bob" sharing "games" that holds one record.
    FolderKey networkShare()
    {
        CollectionTree& network = collection(networkCollection);
        const int computer = network.addFolder(0, "bob", 0);
        const int share = network.addFolder(computer, "games", 0);
        network.addRecord(share, newNamedRecord("theirs"));
        tree().insertFolder({ networkCollection, computer });
        return { networkCollection, share };
    }
};

TEST_F(RecordDragTest, CursorKindsByPlaceAndCtrl)
{
    const int a = newFolder(0, 0, "A");
    newRecord(0, 0, "r");
    const int y = newFolder(yahooCollection, 0, "Y");
    show(ownRoot);
    selectRows({ 1 });
    struct Case {
        const char* place;
        std::function<QPoint()> point;
        bool ctrl;
        int kind;
    };
    const Case cases[] = {
        { "folder row", [&] { return rowGlobal(0); }, false, DragCursors::Move },
        { "folder row, Ctrl", [&] { return rowGlobal(0); }, true, DragCursors::Copy },
        { "own record row", [&] { return rowGlobal(1); }, false, DragCursors::NotAllowed },
        { "own record row, Ctrl", [&] { return rowGlobal(1); }, true, DragCursors::Copy },
        { "empty area", [&] { return emptyAreaGlobal(); }, false, DragCursors::NotAllowed },
        { "tree folder",
            [&] {
                return nodeGlobal({ 0, a });
            },
            false, DragCursors::Move },
        { "tree folder, Ctrl",
            [&] {
                return nodeGlobal({ 0, a });
            },
            true, DragCursors::Copy },
        { "trash", [&] { return nodeGlobal(trashRoot); }, false, DragCursors::Move },
        { "yahoo root", [&] { return nodeGlobal(yahooRoot); }, false, DragCursors::NotAllowed },
        { "yahoo folder",
            [&] {
                return nodeGlobal({ yahooCollection, y });
            },
            true, DragCursors::NotAllowed },
        { "network root", [&] { return nodeGlobal(networkRoot); }, true, DragCursors::NotAllowed },
        { "chat pane", [&] { return nowhereGlobal(); }, false, DragCursors::NotAllowed },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dragTo(1, c.point(), c.ctrl), c.kind) << c.place;
        EXPECT_EQ(
            QGuiApplication::overrideCursor()->shape(), m_app.cursors().cursor(c.kind).shape())
            << c.place;
        drag().cancel();
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(namesIn(0, 0), std::vector<std::string>({ "r" }));
}

TEST_F(RecordDragTest, DropMovesWithoutCtrlAndCopiesWithIt)
{
    const int a = newFolder(0, 0, "A");
    newRecord(0, 0, "r0");
    newRecord(0, 0, "r1");
    show(ownRoot);

    selectRows({ 1 });
    dragTo(1, rowGlobal(0));
    EXPECT_EQ(drag().listTargetRow(), 0);
    // The target row is shown selected while it is the target, and only then.
    EXPECT_EQ(list().selectedRowNumbers(), std::vector<int>({ 0, 1 }));
    drag().drop(rowGlobal(0));
    EXPECT_FALSE(drag().active());
    EXPECT_EQ(namesIn(0, a), std::vector<std::string>({ "r0" }));
    EXPECT_EQ(namesIn(0, 0), std::vector<std::string>({ "r1" }));

    // Ctrl held on the target view copies; over the tree, the tree's Ctrl counts.
    selectRows({ 1 });
    dragTo(1, nodeGlobal({ 0, a }), true);
    EXPECT_EQ(QApplication::focusWidget(), &tree());
    QTest::keyPress(&tree(), Qt::Key_Control);
    drag().drop(nodeGlobal({ 0, a }));
    QTest::keyRelease(&tree(), Qt::Key_Control);
    EXPECT_EQ(namesIn(0, a), std::vector<std::string>({ "r0", "r1" }));
    EXPECT_EQ(namesIn(0, 0), std::vector<std::string>({ "r1" }));

    // Dropped on nothing, nothing happens.
    show(ownRoot);
    selectRows({ 1 });
    dragTo(1, nowhereGlobal());
    drag().drop(nowhereGlobal());
    EXPECT_EQ(namesIn(0, 0), std::vector<std::string>({ "r1" }));
}

TEST_F(RecordDragTest, CtrlChangesTheCursorAtOnceInTheViewHoldingTheTarget)
{
    const int a = newFolder(0, 0, "A");
    newRecord(0, 0, "r");
    show(ownRoot);
    selectRows({ 1 });
    EXPECT_EQ(dragTo(1, rowGlobal(0)), DragCursors::Move);
    EXPECT_EQ(QApplication::focusWidget(), &list());
    QTest::keyPress(&list(), Qt::Key_Control);
    EXPECT_EQ(drag().cursorKind(), DragCursors::Copy);
    QTest::keyRelease(&list(), Qt::Key_Control);
    EXPECT_EQ(drag().cursorKind(), DragCursors::Move);

    drag().move(nodeGlobal({ 0, a }), false);
    EXPECT_EQ(tree().folderModel().dropTarget(), (FolderKey { 0, a }));
    EXPECT_EQ(drag().listTargetRow(), -1);
    QTest::keyPress(&tree(), Qt::Key_Control);
    EXPECT_EQ(drag().cursorKind(), DragCursors::Copy);
    QTest::keyRelease(&tree(), Qt::Key_Control);
    EXPECT_EQ(drag().cursorKind(), DragCursors::Move);
    drag().cancel();
    EXPECT_FALSE(tree().folderModel().dropTarget().valid());
}

TEST_F(RecordDragTest, ARightClickCancels)
{
    const int a = newFolder(0, 0, "A");
    newRecord(0, 0, "r");
    show(ownRoot);
    selectRows({ 1 });
    dragTo(1, rowGlobal(0));
    QTest::mousePress(list().viewport(), Qt::RightButton, {}, rowPoint(0));
    EXPECT_FALSE(drag().active());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(list().selectedRowNumbers(), std::vector<int>({ 1 }));
    EXPECT_TRUE(namesIn(0, a).empty());
}

TEST_F(RecordDragTest, TrashAndYahooTargets)
{
    newRecord(0, 0, "r0");
    newRecord(0, 0, "r1");
    show(ownRoot);
    // Onto Yahoo! Games: refused, nothing pasted.
    selectRows({ 0 });
    dragTo(0, nodeGlobal(yahooRoot));
    drag().drop(nodeGlobal(yahooRoot));
    EXPECT_TRUE(namesIn(yahooCollection, 0).empty());
    EXPECT_EQ(namesIn(0, 0).size(), 2u);

    // Onto the trash: moved there (after the deletion question).
    dragTo(0, nodeGlobal(trashRoot));
    drag().drop(nodeGlobal(trashRoot));
    EXPECT_EQ(namesIn(trashCollection, 0), std::vector<std::string>({ "r0" }));
    EXPECT_EQ(namesIn(0, 0), std::vector<std::string>({ "r1" }));

    // From the trash onto the trash: nothing, and the cursor said so.
    show(trashRoot);
    selectRows({ 0 });
    EXPECT_EQ(dragTo(0, nodeGlobal(trashRoot)), DragCursors::NotAllowed);
    m_prompter.clear();
    drag().drop(nodeGlobal(trashRoot));
    EXPECT_TRUE(m_prompter.calls().empty());
    EXPECT_EQ(namesIn(trashCollection, 0), std::vector<std::string>({ "r0" }));
}

TEST_F(RecordDragTest, FromTheNetworkItAlwaysCopies)
{
    const FolderKey share = networkShare();
    show(networkRoot);
    selectRows({ 0 });
    EXPECT_FALSE(drag().begin(rowPoint(0), rowGlobal(0)));

    show(share);
    selectRows({ 0 });
    EXPECT_EQ(dragTo(0, nodeGlobal(ownRoot)), DragCursors::Copy);
    drag().drop(nodeGlobal(ownRoot));
    EXPECT_EQ(namesIn(0, 0), std::vector<std::string>({ "theirs" }));
    EXPECT_EQ(namesIn(networkCollection, share.folder), std::vector<std::string>({ "theirs" }));

    // Never into the trash from there.
    show(share);
    selectRows({ 0 });
    EXPECT_EQ(dragTo(0, nodeGlobal(trashRoot)), DragCursors::NotAllowed);
    drag().drop(nodeGlobal(trashRoot));
    EXPECT_TRUE(namesIn(trashCollection, 0).empty());
}

TEST_F(RecordDragTest, TheImageShowsRowsNearTheAnchorButEverySelectedRowGoes)
{
    const int a = newFolder(0, 0, "A");
    for (int i = 0; i < 30; ++i)
        newRecord(0, 0, ("r" + std::to_string(i)).c_str());
    show(ownRoot);
    // Rows 1, 6, 9 and 21: anchors pick those within 8 rows.
    struct Case {
        int anchor;
        std::vector<int> shown;
    };
    const Case cases[]
        = { { 1, { 1, 6, 9 } }, { 9, { 1, 6, 9 } }, { 21, { 21 } }, { 6, { 1, 6, 9 } } };
    for (const Case& c : cases) {
        selectRows({ 1, 6, 9, 21 });
        list().scrollTo(list().listModel().index(c.anchor, 0));
        ASSERT_TRUE(drag().begin(rowPoint(c.anchor), rowGlobal(c.anchor)));
        EXPECT_EQ(drag().imageRows(), c.shown) << c.anchor;
        const int rowHeight = list().visualRect(list().listModel().index(c.anchor, 0)).height();
        EXPECT_EQ(drag().image().height(), rowHeight * static_cast<int>(c.shown.size()));
        EXPECT_EQ(drag().image().width(), list().header()->length());
        drag().cancel();
    }
    list().scrollToTop();
    selectRows({ 1, 6, 9, 21 });
    dragTo(1, rowGlobal(0));
    drag().drop(rowGlobal(0));
    EXPECT_EQ(namesIn(0, a), std::vector<std::string>({ "r0", "r5", "r8", "r20" }));
}

TEST_F(RecordDragTest, TheMouseDrivesItThroughTheListsOwnEvents)
{
    const int a = newFolder(0, 0, "A");
    newRecord(0, 0, "r");
    show(ownRoot);
    selectRows({ 1 });
    QWidget* viewport = list().viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, rowPoint(1));
    const int step = QApplication::startDragDistance() + 2;
    QTest::mouseMove(viewport, rowPoint(1) + QPoint(step, 0));
    QTest::mouseMove(viewport, rowPoint(1) + QPoint(2 * step, 0));
    ASSERT_TRUE(drag().active());
    QTest::mouseMove(viewport, rowPoint(0));
    EXPECT_EQ(drag().listTargetRow(), 0);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, rowPoint(0));
    EXPECT_FALSE(drag().active());
    EXPECT_EQ(namesIn(0, a), std::vector<std::string>({ "r" }));
}

} // namespace
