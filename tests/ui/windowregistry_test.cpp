#include "net/notices.h"
#include "ui/protocollistener.h"
#include "ui/windowregistry.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A modeless window that logs what it hears, answers ticks as told, claims the find query that
// names it, and can run an action from inside its tick handler.
class LogWindow final : public ProtocolListener {
public:
    LogWindow(std::string name, Log& log, bool buildable = true)
        : m_name(std::move(name))
        , m_log(log)
        , m_buildable(buildable)
    { }
    ~LogWindow() override { m_log.push_back("delete " + m_name); }

    int32_t onTick(const TickNotice&, int32_t count) override
    {
        m_log.push_back(m_name + "@" + std::to_string(count));
        ++ticks;
        if (action)
            action();
        return answer;
    }
    int32_t onWindow(const WindowNotice& notice, int32_t) override
    {
        if (notice.kind != WindowChat || notice.text != m_name)
            return noticeIgnored;
        comeForward();
        return noticeHandled;
    }

    std::function<void()> action;
    int32_t answer = noticeHandled;
    int ticks = 0;

protected:
    bool initDialog() override
    {
        resize(120, 80);
        return m_buildable;
    }

private:
    std::string m_name;
    Log& m_log;
    bool m_buildable;
};

class OwnerListener final : public NoticeListener {
public:
    explicit OwnerListener(Log& log)
        : m_log(log)
    { }
    int32_t onTick(const TickNotice&, int32_t count) override
    {
        m_log.push_back("owner@" + std::to_string(count));
        return noticeIgnored;
    }

private:
    Log& m_log;
};

WindowNotice chatQuery(const std::string& name)
{
    WindowNotice notice(WindowChat);
    notice.text = ByteString(name);
    return notice;
}

// Answers the next message box with OK and keeps its title and text.
struct MessageWatch {
    MessageWatch()
    {
        QTimer::singleShot(0, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = true;
                title = box->windowTitle();
                text = box->text();
                box->accept();
            }
        });
    }
    bool seen = false;
    QString title;
    QString text;
};

class WindowRegistryTest : public testing::Test {
protected:
    LogWindow& open(const std::string& name) { return openIn(registry, name); }
    LogWindow& openIn(WindowRegistry& into, const std::string& name)
    {
        ProtocolListener* window
            = into.createRegistered(std::make_unique<LogWindow>(name, log), nullptr);
        EXPECT_NE(window, nullptr);
        return static_cast<LogWindow&>(*window);
    }
    WindowRegistry::WindowFactory factory(const std::string& name, bool buildable = true)
    {
        return [this, name, buildable] {
            ++made;
            return std::make_unique<LogWindow>(name, log, buildable);
        };
    }
    // Runs the queued close requests.
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    Log log;
    OwnerListener owner { log };
    QWidget ownerWindow;
    WindowRegistry registry { &owner, &ownerWindow };
    int made = 0;
};

TEST_F(WindowRegistryTest, WalksFromTheLastOpenedAndChildrenBeforeTheirWindow)
{
    LogWindow& a = open("a");
    openIn(a.children(), "a1");
    openIn(a.children(), "a2").answer = noticeIgnored;
    open("b");
    EXPECT_EQ(registry.notify(TickNotice()), 3);
    EXPECT_EQ(log, (Log { "b@0", "a2@0", "a1@0", "a@1", "owner@3" }));
    EXPECT_EQ(a.children().listeners().owner(), &a);
    EXPECT_EQ(registry.at(1), registry.at(registry.indexOf(registry.at(1))));
}

TEST_F(WindowRegistryTest, CloseDuringABroadcastWaitsUntilItIsOver)
{
    LogWindow& a = open("a");
    LogWindow& b = open("b");
    LogWindow& c = open("c");
    QPointer<LogWindow> gone = &b;
    for (LogWindow* w : { &a, &b, &c })
        w->show();
    // b is closed from inside the walk, and a nested event loop (as a message box would run)
    // turns before the walk goes on to a.
    b.action = [&] {
        b.close();
        c.close();
        settle();
        EXPECT_EQ(registry.count(), 3);
    };
    EXPECT_EQ(registry.notify(TickNotice()), 3);
    EXPECT_EQ(log, (Log { "c@0", "b@0", "a@0", "owner@3" }));
    ASSERT_TRUE(gone);
    EXPECT_EQ(registry.count(), 3);
    settle();
    // Removed in the order they asked.
    EXPECT_EQ(log, (Log { "c@0", "b@0", "a@0", "owner@3", "delete b", "delete c" }));
    EXPECT_FALSE(gone);
    ASSERT_EQ(registry.count(), 1);
    EXPECT_EQ(registry.at(0), &a);
}

TEST_F(WindowRegistryTest, EscapeCloseButtonAndOkAllAskTheOwner)
{
    LogWindow& a = open("a");
    LogWindow& b = open("b");
    LogWindow& c = open("c");
    QPointer<LogWindow> pa = &a;
    QPointer<LogWindow> pb = &b;
    QPointer<LogWindow> pc = &c;
    for (LogWindow* w : { &a, &b, &c })
        w->show();
    QTest::keyClick(&a, Qt::Key_Escape);
    b.close();
    c.accept();
    // Nothing went yet, and nothing hid itself either.
    EXPECT_EQ(registry.count(), 3);
    EXPECT_TRUE(a.isVisible());
    EXPECT_TRUE(b.isVisible());
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(c.result(), QDialog::Accepted);
    settle();
    EXPECT_FALSE(pa);
    EXPECT_FALSE(pb);
    EXPECT_FALSE(pc);
    EXPECT_EQ(registry.count(), 0);
}

TEST_F(WindowRegistryTest, WindowWithoutARegistryJustHides)
{
    LogWindow loose("loose", log);
    ASSERT_TRUE(loose.create(nullptr));
    loose.show();
    loose.reject();
    EXPECT_FALSE(loose.isVisible());
}

TEST_F(WindowRegistryTest, FindOrCreateBringsTheOpenWindowForward)
{
    ownerWindow.resize(600, 400);
    ownerWindow.move(100, 100);
    ownerWindow.show();
    ProtocolListener* first = registry.findOrCreate(chatQuery("kate"), factory("kate"), nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->initialClientSize(), QSize(120, 80));
    EXPECT_LE(
        (first->frameGeometry().center() - ownerWindow.frameGeometry().center()).manhattanLength(),
        2);

    first->showMinimized();
    EXPECT_EQ(registry.findOrCreate(chatQuery("kate"), factory("kate"), nullptr), nullptr);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(registry.count(), 1);
    EXPECT_FALSE(first->isMinimized());
    EXPECT_TRUE(first->isVisible());

    // Another target gets its own window.
    EXPECT_NE(registry.findOrCreate(chatQuery("leo"), factory("leo"), nullptr), nullptr);
    EXPECT_EQ(made, 2);
    EXPECT_EQ(registry.count(), 2);
}

TEST_F(WindowRegistryTest, WindowThatCannotBeBuiltIsReportedAndRemoved)
{
    MessageWatch watch;
    EXPECT_EQ(
        registry.findOrCreate(chatQuery("broken"), factory("broken", false), nullptr), nullptr);
    EXPECT_TRUE(watch.seen);
    EXPECT_TRUE(watch.title.isEmpty());
    EXPECT_EQ(
        watch.text, QString::fromUtf8(u8"メモリ不足のため、新しいウィンドウが作れませんでした。"));
    // The half-made window was never shown; it waits for its close request like any other.
    ASSERT_EQ(registry.count(), 1);
    EXPECT_FALSE(registry.at(0)->isVisible());
    settle();
    EXPECT_EQ(registry.count(), 0);
    EXPECT_EQ(log, (Log { "delete broken" }));
}

TEST_F(WindowRegistryTest, FailedAllocationIsReportedToo)
{
    const std::vector<WindowRegistry::WindowFactory> failing {
        [] { return std::unique_ptr<ProtocolListener>(); },
        []() -> std::unique_ptr<ProtocolListener> { throw std::bad_alloc(); },
    };
    for (const auto& make : failing) {
        MessageWatch watch;
        EXPECT_EQ(registry.findOrCreate(chatQuery("x"), make, nullptr), nullptr);
        EXPECT_EQ(watch.text,
            QString::fromUtf8(u8"メモリ不足のため、新しいウィンドウが作れませんでした。"));
        EXPECT_EQ(registry.count(), 0);
    }
}

TEST_F(WindowRegistryTest, ClosingTheOwnerTakesItsWindowsAndTheirChildren)
{
    Log gone;
    {
        OwnerListener localOwner(gone);
        WindowRegistry local(&localOwner, nullptr);
        LogWindow& a = openIn(local, "a");
        openIn(a.children(), "a1");
        openIn(local, "b").reject(); // a request still queued when the registry goes
    }
    EXPECT_EQ(log, (Log { "delete b", "delete a", "delete a1" }));
    settle(); // the dropped request finds nothing
}

} // namespace
