#pragma once

#include "../app/scriptedprompter.h"
#include "../app/testsession.h"

#include "app/librarydocument.h"
#include "app/pavioneapp.h"
#include "library/recordlibrary.h"
#include "platform/sjis.h"
#include "ui/foldertreemodel.h"
#include "ui/foldertreeview.h"
#include "ui/mainwindow.h"
#include "ui/recordlistmodel.h"
#include "ui/recordlistview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

inline QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The whole program started on a fresh data directory and settings, with the document's questions
// answered by a ScriptedPrompter.
class RunningProgram : public testing::Test {
protected:
    void SetUp() override
    {
        // The program takes the system clipboard's text whenever its window becomes active.
        QApplication::clipboard()->clear();
        m_app.setPrompter(&m_prompter);
        ASSERT_TRUE(m_app.start(m_session.arguments()));
        m_frame = m_app.mainFrame();
        QApplication::setActiveWindow(m_frame);
    }

    LibraryDocument& doc() { return *m_app.document(); }
    FolderTreeView& tree() { return *m_frame->folderTreeView(); }
    RecordListView& list() { return *m_frame->recordListView(); }
    LibraryOperations& ops() { return doc().operations(); }
    CollectionTree& collection(int c) { return doc().library().collection(c); }
    Settings& settings() { return m_app.settings(); }

    int newFolder(int c, int parent, const char* name)
    {
        return ops().newFolder(c, parent, toSjis(u(name)));
    }
    int newRecord(int c, int folder, const char* name)
    {
        GameRecord r = newNamedRecord(toSjis(u(name)));
        return ops().newRecord(c, folder, r);
    }

    // The texts of a node's children in the tree, from the top.
    QStringList treeChildren(FolderKey key)
    {
        const FolderTreeModel& model = tree().folderModel();
        const QModelIndex parent = key.valid() ? model.indexOf(key) : QModelIndex();
        QStringList names;
        for (int r = 0; r < model.rowCount(parent); ++r)
            names << model.data(model.index(r, 0, parent)).toString();
        return names;
    }

    QStringList listNames()
    {
        const RecordListModel& model = list().listModel();
        QStringList names;
        for (int r = 0; r < model.rowCount(); ++r)
            names << model.data(model.index(r, 0)).toString();
        return names;
    }

    // Opens a pop-up with open() and returns its items as "text" or "text (grayed)", separators
    // left out. With choose set, that command's item is chosen; otherwise the pop-up is closed.
    QStringList popup(const std::function<void()>& open, CommandId choose = CommandId::None)
    {
        QStringList items;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            shown = true;
            QAction* chosen = nullptr;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator())
                    continue;
                items << a->text() + (a->isEnabled() ? QString() : u(" (grayed)"));
                if (a->data().toInt() == static_cast<int>(choose))
                    chosen = a;
            }
            if (chosen && chosen->isEnabled()) {
                menu->setActiveAction(chosen);
                QTest::keyClick(menu, Qt::Key_Return);
            } else {
                menu->close();
            }
        });
        open();
        QApplication::processEvents();
        EXPECT_TRUE(shown) << "no pop-up opened";
        return items;
    }

    QStringList treePopup(FolderKey key, CommandId choose = CommandId::None)
    {
        const QModelIndex index = tree().folderModel().indexOf(key);
        tree().scrollTo(index); // opens the nodes above it
        const QRect r = tree().visualRect(index);
        EXPECT_TRUE(r.isValid());
        return popup([&] { tree().openContextMenu(r.center()); }, choose);
    }

    // The label editor open in a view, or null.
    static QLineEdit* openEditor(QAbstractItemView& view)
    {
        for (QLineEdit* e : view.viewport()->findChildren<QLineEdit*>()) {
            if (e->isVisible())
                return e;
        }
        return nullptr;
    }

    // Types a name into the open label editor and presses Return; the rename runs after the editor
    // has closed.
    void typeLabel(QAbstractItemView& view, const QString& text)
    {
        QLineEdit* editor = openEditor(view);
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over on a queued call, and the view renames on another.
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    TestSession m_session;
    ScriptedPrompter m_prompter;
    PavioneApp m_app;
    MainWindow* m_frame = nullptr;
};
