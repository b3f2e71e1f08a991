#include "Rodezir/SharedSignal.h"
#include "Rodezir/Signal.h"
#include "Rodezir/SignalConnection.h"
#include "Rodezir/SlotHolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;

class Listener : public virtual SlotHolder {
public:
    explicit Listener(std::string name) : name_(std::move(name)) {}
    void onSample(int index) { calls.push_back(name_ + ":" + std::to_string(index)); }
    void onPing() { calls.push_back(name_); }

    std::string name_;
    SignalConnection* own = nullptr;
};

class Sender {
public:
    Signal<int> sampleAdded;
    Signal<> changed;
};

class SignalTest : public ::testing::Test {
protected:
    void SetUp() override { calls.clear(); }
};

TEST_F(SignalTest, newestConnectionIsCalledFirstWithTheArguments)
{
    Sender sender;
    Listener a("a"), b("b"), c("c");
    connect(sender.sampleAdded, a, &Listener::onSample);
    connect(sender.sampleAdded, b, &Listener::onSample);
    connect(sender.sampleAdded, &c, &Listener::onSample);
    sender.sampleAdded.notify(7);
    EXPECT_EQ(calls, (std::vector<std::string>{"c:7", "b:7", "a:7"}));
}

TEST_F(SignalTest, eitherEndsDeathRemovesTheConnection)
{
    Sender sender;
    auto doomed = std::make_unique<Listener>("doomed");
    Listener stays("stays");
    connect(sender.sampleAdded, *doomed, &Listener::onSample);
    connect(sender.changed, *doomed, &Listener::onPing);
    connect(sender.sampleAdded, stays, &Listener::onSample);
    doomed.reset();
    sender.sampleAdded.notify(1);
    sender.changed.notify();
    EXPECT_EQ(calls, (std::vector<std::string>{"stays:1"}));
    EXPECT_TRUE(sender.changed.empty());

    auto dyingSender = std::make_unique<Sender>();
    Listener listener("l");
    connect(dyingSender->sampleAdded, listener, &Listener::onSample);
    connect(dyingSender->changed, listener, &Listener::onPing);
    EXPECT_FALSE(listener.slotConnections().empty());
    dyingSender.reset();
    EXPECT_TRUE(listener.slotConnections().empty()) << "the sender's death leaves the receiver's ring empty";
}

class SelfRemover : public SlotHolder {
public:
    void onSample(int index)
    {
        calls.push_back("self:" + std::to_string(index));
        SignalConnection::disconnect(own);
        own = nullptr;
    }
    SignalConnection* own = nullptr;
};

TEST_F(SignalTest, aSlotMayDisconnectItselfDuringEmission)
{
    Sender sender;
    Listener first("first"), last("last");
    SelfRemover remover;
    connect(sender.sampleAdded, first, &Listener::onSample);
    remover.own = connect(sender.sampleAdded, remover, &SelfRemover::onSample);
    connect(sender.sampleAdded, last, &Listener::onSample);
    sender.sampleAdded.notify(1);
    sender.sampleAdded.notify(2);
    EXPECT_EQ(calls, (std::vector<std::string>{"last:1", "self:1", "first:1", "last:2", "first:2"}));
}

class Recruiter : public SlotHolder {
public:
    Recruiter(Sender& sender, Listener& recruit) : sender_(sender), recruit_(recruit) {}
    void onSample(int index)
    {
        calls.push_back("recruiter:" + std::to_string(index));
        if (index == 1)
            connect(sender_.sampleAdded, recruit_, &Listener::onSample);
    }

private:
    Sender& sender_;
    Listener& recruit_;
};

TEST_F(SignalTest, aConnectionMadeDuringEmissionWaitsForTheNextOne)
{
    Sender sender;
    Listener older("older"), recruit("recruit");
    connect(sender.sampleAdded, older, &Listener::onSample);
    Recruiter recruiter(sender, recruit);
    connect(sender.sampleAdded, recruiter, &Recruiter::onSample);
    sender.sampleAdded.notify(1);
    sender.sampleAdded.notify(2);
    EXPECT_EQ(calls, (std::vector<std::string>{"recruiter:1", "older:1", "recruit:2", "recruiter:2", "older:2"}));
}

class Panel : public Listener {
public:
    Panel() : Listener("panel") {}
};

TEST_F(SignalTest, anInheritedSlotConnectsThroughTheDerivedReceiver)
{
    Sender sender;
    auto panel = std::make_unique<Panel>();
    connect(sender.sampleAdded, *panel, &Panel::onSample);
    sender.sampleAdded.notify(4);
    panel.reset();
    sender.sampleAdded.notify(5);
    EXPECT_EQ(calls, (std::vector<std::string>{"panel:4"}));
}

TEST_F(SignalTest, disconnectByHandleLeavesTheOthers)
{
    Sender sender;
    Listener a("a"), b("b");
    SignalConnection* handle = connect(sender.sampleAdded, a, &Listener::onSample);
    connect(sender.sampleAdded, b, &Listener::onSample);
    SignalConnection::disconnect(handle);
    SignalConnection::disconnect(nullptr);
    sender.sampleAdded.notify(3);
    EXPECT_EQ(calls, (std::vector<std::string>{"b:3"}));
    EXPECT_TRUE(a.slotConnections().empty());
}

TEST_F(SignalTest, copiesStartWithoutConnections)
{
    Sender sender;
    Listener original("original");
    connect(sender.changed, original, &Listener::onPing);
    Listener copy(original);
    Sender senderCopy(sender);
    sender.changed.notify();
    senderCopy.changed.notify();
    EXPECT_EQ(calls, (std::vector<std::string>{"original"}));
    EXPECT_TRUE(copy.slotConnections().empty());
}

TEST_F(SignalTest, sharedSignalCopiesShareOneRingThatDiesWithTheLast)
{
    Listener listener("shared");
    auto first = std::make_unique<SharedSignal<int>>();
    SharedSignal<int> second = *first;
    connect(*first, listener, &Listener::onSample);
    second.notify(5);
    EXPECT_EQ(calls, (std::vector<std::string>{"shared:5"}));
    first.reset();
    second(6);
    EXPECT_EQ(calls.back(), "shared:6") << "the ring lives while one copy does";
    {
        SharedSignal<int> last = std::move(second);
    }
    EXPECT_TRUE(listener.slotConnections().empty()) << "the last copy took its connections with it";
}

} // namespace
