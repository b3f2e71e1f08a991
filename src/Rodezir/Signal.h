#pragma once
// A signal of the station: its sender notifies the listeners by calling their
// member functions, newest connection first. With it go the connections it
// calls and connect(), which makes them: none of them has a use apart.
//
// Unlike Qt signals: strictly synchronous, newest first, and a slot may
// disconnect its own connection while the signal is being emitted. A slot must
// not disconnect other connections of the running signal, nor destroy that
// signal or the receiver of the next connection.

#include "Rodezir/SignalConnectionList.h"
#include "Rodezir/SlotHolder.h"

#include <memory>
#include <type_traits>

// A connection that can be called with the signal's arguments.
template <class... Args>
class SlotInvoker : public SignalConnection {
public:
    virtual void invoke(Args... args) = 0;
};

// A connection to one member function of one receiver object.
template <class Receiver, class... Args>
class SlotConnection final : public SlotInvoker<Args...> {
public:
    using Slot = void (Receiver::*)(Args...);
    SlotConnection(Receiver& receiver, Slot slot) : receiver_(receiver), slot_(slot) {}
    void invoke(Args... args) override { (receiver_.*slot_)(args...); }

private:
    Receiver& receiver_;
    Slot slot_;
};

// A signal with a fixed argument list, a member of its sender.
template <class... Args>
class Signal {
public:
    // Calls every connection with the arguments, newest first. A connection
    // made meanwhile is not called by this emission. (Not named "emit": Qt
    // defines that word away in every file that includes its headers.)
    void notify(Args... args)
    {
        head_.forEachConnection([&](SignalConnection* c) { static_cast<SlotInvoker<Args...>*>(c)->invoke(args...); });
    }
    void operator()(Args... args) { notify(args...); }

    bool empty() const { return head_.empty(); }
    void disconnectAll() { head_.disconnectAll(); }
    SignalConnectionList& list() { return head_; }

private:
    SignalConnectionList head_{SignalConnectionList::Role::Sender};
};

// Connects a receiver's member function (its own or one it inherits) to a
// signal; the handle lets the receiver cut this one connection early with
// SignalConnection::disconnect.
template <class... Args, class Receiver, class Owner>
    requires std::is_base_of_v<Owner, Receiver> && std::is_base_of_v<SlotHolder, Receiver>
SignalConnection* connect(Signal<Args...>& signal, Receiver& receiver, void (Owner::*slot)(Args...))
{
    auto connection = std::make_unique<SlotConnection<Owner, Args...>>(static_cast<Owner&>(receiver), slot);
    signal.list().linkFront(connection.get(), static_cast<SlotHolder&>(receiver).slotConnections());
    return connection.release();
}

template <class... Args, class Receiver, class Owner>
SignalConnection* connect(Signal<Args...>& signal, Receiver* receiver, void (Owner::*slot)(Args...))
{
    return connect(signal, *receiver, slot);
}
