#include "net/listenerregistry.h"
#include "net/registeredlistener.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A window that logs every tick it sees with the count of its own children that took it, answers as
// told, and can run an action from inside its handler.
class FakeWindow final : public RegisteredListener {
public:
    FakeWindow(std::string name, Log& log, int32_t answer = noticeHandled)
        : m_name(std::move(name))
        , m_log(log)
        , m_answer(answer)
    { }
    ~FakeWindow() override { m_log.push_back("delete " + m_name); }

    int32_t onTick(const TickNotice&, int32_t count) override
    {
        m_log.push_back(m_name + "@" + std::to_string(count));
        if (action)
            action();
        return m_answer;
    }
    // Closes itself when the notice names it, as a window shown something that went away does.
    int32_t onWindow(const WindowNotice& notice, int32_t) override
    {
        if (notice.kind != WindowFolderRemoved || notice.text != m_name)
            return noticeIgnored;
        requestClose();
        return noticeHandled;
    }
    void destroyWindow() override { m_log.push_back("destroy " + m_name); }

    std::function<void()> action;

private:
    std::string m_name;
    Log& m_log;
    int32_t m_answer;
};

class OwnerFrame final : public NoticeListener {
public:
    explicit OwnerFrame(Log& log)
        : m_log(log)
    { }
    int32_t onTick(const TickNotice&, int32_t count) override
    {
        m_log.push_back("owner@" + std::to_string(count));
        return answer;
    }
    int32_t answer = noticeIgnored;

private:
    Log& m_log;
};

WindowNotice folderRemoved(const std::string& name)
{
    WindowNotice notice(WindowFolderRemoved, 0x01000000);
    notice.text = ByteString(name);
    return notice;
}

class RegistryTest : public testing::Test {
protected:
    FakeWindow& add(const std::string& name, int32_t answer = noticeHandled)
    {
        return addTo(registry, name, answer);
    }
    FakeWindow& addTo(ListenerRegistry& to, const std::string& name, int32_t answer = noticeHandled)
    {
        return static_cast<FakeWindow&>(to.add(std::make_unique<FakeWindow>(name, log, answer)));
    }

    Log log;
    OwnerFrame owner { log };
    ListenerRegistry registry { &owner };
};

} // namespace

TEST_F(RegistryTest, WalksFromTheLastAddedThenAsksTheOwner)
{
    add("a");
    add("b", noticeIgnored);
    add("c");
    add("d", 3); // only 2 counts
    owner.answer = noticeHandled;
    EXPECT_EQ(registry.notify(TickNotice()), 3);
    EXPECT_EQ(log, (Log { "d@0", "c@0", "b@0", "a@0", "owner@2" }));
}

TEST_F(RegistryTest, WithoutWindowsOnlyTheOwnerCounts)
{
    EXPECT_EQ(registry.notify(TickNotice()), 0);
    owner.answer = noticeHandled;
    EXPECT_EQ(registry.notify(TickNotice()), 1);
    ListenerRegistry ownerless;
    EXPECT_EQ(ownerless.notify(TickNotice()), 0);
}

TEST_F(RegistryTest, ChildrenHearBeforeTheirWindow)
{
    FakeWindow& a = add("a");
    addTo(a.childWindows(), "a1");
    FakeWindow& a2 = addTo(a.childWindows(), "a2", noticeIgnored);
    addTo(a2.childWindows(), "a2x");
    add("b");
    EXPECT_EQ(registry.notify(TickNotice()), 4);
    EXPECT_EQ(log, (Log { "b@0", "a2x@0", "a2@1", "a1@0", "a@2", "owner@4" }));
    EXPECT_EQ(a.notify(TickNotice()), 3);
}

TEST_F(RegistryTest, CloseRequestsWaitForTheOwner)
{
    int wakes = 0;
    registry.setWakeUp([&wakes] { ++wakes; });
    add("a");
    add("b");
    add("c");
    EXPECT_EQ(registry.notify(folderRemoved("b")), 1);
    EXPECT_EQ(registry.notify(folderRemoved("c")), 1);
    // Nothing left the registry during the walks; the owner was woken once per request.
    EXPECT_EQ(registry.count(), 3);
    EXPECT_EQ(wakes, 2);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(registry.processCloseRequests(), 2);
    EXPECT_EQ(log, (Log { "destroy b", "delete b", "destroy c", "delete c" }));
    ASSERT_EQ(registry.count(), 1);
    EXPECT_EQ(registry.processCloseRequests(), 0);
}

TEST_F(RegistryTest, ProcessingDuringAWalkWaitsForItsEnd)
{
    int wakes = 0;
    registry.setWakeUp([&wakes] { ++wakes; });
    FakeWindow& a = add("a");
    FakeWindow& b = add("b");
    FakeWindow& c = add("c");
    // b closes itself and then runs a nested event loop that processes the requests (a modal
    // dialog would): the walk must still reach a.
    b.action = [&] {
        b.requestClose();
        EXPECT_EQ(registry.processCloseRequests(), 0);
        EXPECT_FALSE(registry.remove(&c));
        EXPECT_FALSE(registry.destroyAll());
    };
    EXPECT_EQ(registry.notify(TickNotice()), 3);
    EXPECT_EQ(log, (Log { "c@0", "b@0", "a@0", "owner@3" }));
    EXPECT_EQ(wakes, 2); // the request, and again once the walk was over
    EXPECT_EQ(registry.processCloseRequests(), 1);
    EXPECT_EQ(registry.indexOf(&a), 0);
    EXPECT_EQ(registry.indexOf(&c), 1);
}

TEST_F(RegistryTest, WindowAddedDuringAWalkIsNotVisited)
{
    FakeWindow& a = add("a");
    a.action = [&] {
        if (registry.count() < 2)
            add("new");
    };
    EXPECT_EQ(registry.notify(TickNotice()), 1);
    EXPECT_EQ(log, (Log { "a@0", "owner@1" }));
    EXPECT_EQ(registry.count(), 2);
}

TEST_F(RegistryTest, ChildAsksItsOwnWindowNotTheMainRegistry)
{
    FakeWindow& a = add("a");
    FakeWindow& child = addTo(a.childWindows(), "child");
    EXPECT_EQ(child.ownerRegistry(), &a.childWindows());
    EXPECT_EQ(a.childWindows().owner(), &a);
    EXPECT_EQ(registry.notify(folderRemoved("child")), 1);
    EXPECT_FALSE(registry.hasCloseRequests());
    EXPECT_TRUE(a.childWindows().hasCloseRequests());
    EXPECT_EQ(registry.processCloseRequests(), 0);
    EXPECT_EQ(a.childWindows().processCloseRequests(), 1);
    EXPECT_EQ(a.childWindows().count(), 0);
}

TEST_F(RegistryTest, RemovingAWindowDropsItsRequestsAndItsChildren)
{
    FakeWindow& a = add("a");
    addTo(a.childWindows(), "a1");
    a.requestClose();
    a.requestClose(); // a second request is the same request
    EXPECT_TRUE(registry.remove(0));
    EXPECT_EQ(log, (Log { "destroy a", "delete a", "destroy a1", "delete a1" }));
    EXPECT_FALSE(registry.hasCloseRequests());
    EXPECT_FALSE(registry.remove(0));
}

TEST_F(RegistryTest, DestroyAllAndUnregisteredWindows)
{
    add("a");
    add("b");
    EXPECT_TRUE(registry.destroyAll());
    EXPECT_EQ(log, (Log { "destroy b", "delete b", "destroy a", "delete a" }));
    FakeWindow loose("loose", log);
    loose.requestClose(); // no owner: nothing to ask
    EXPECT_EQ(loose.ownerRegistry(), nullptr);
    loose.setOwnerRegistry(&registry);
    loose.requestClose();
    EXPECT_TRUE(registry.hasCloseRequests());
    // Not in the registry: the request finds nothing to remove.
    EXPECT_EQ(registry.processCloseRequests(), 0);
    loose.setOwnerRegistry(nullptr);
}

TEST_F(RegistryTest, DeletedWindowLeavesNoRequestBehind)
{
    auto loose = std::make_unique<FakeWindow>("loose", log);
    loose->setOwnerRegistry(&registry);
    loose->requestClose();
    loose.reset();
    EXPECT_FALSE(registry.hasCloseRequests());
}

TEST_F(RegistryTest, WindowThatFailedToOpenIsRemovedOnceAdded)
{
    // A window whose platform creation failed asks to be closed before it is added; the request
    // waits and removes it when the owner gets to it.
    auto window = std::make_unique<FakeWindow>("broken", log);
    window->setOwnerRegistry(&registry);
    window->requestClose();
    add("other");
    registry.add(std::move(window));
    EXPECT_EQ(registry.processCloseRequests(), 1);
    EXPECT_EQ(log, (Log { "destroy broken", "delete broken" }));
    EXPECT_EQ(registry.count(), 1);
}
