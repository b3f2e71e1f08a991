#pragma once
// Intrusive signal/slot connections: a sender notifies its listeners by
// calling their member functions, newest connection first. Each connection
// sits in the ring of its signal and in the ring of its receiver at once, so
// whichever end dies first takes the connection with it.
//
// Unlike Qt signals: strictly synchronous, newest first, and a slot may
// disconnect its own connection while the signal is being emitted. A slot must
// not disconnect other connections of the running signal, nor destroy that
// signal or the receiver of the next connection.

#include <memory>
#include <type_traits>
#include <utility>

// A node in two doubly linked rings: its signal's (sender) and its receiver's.
// A pair of links is null while the node is not in that ring.
class SignalConnection {
public:
    SignalConnection() = default;
    virtual ~SignalConnection() = default;
    SignalConnection(const SignalConnection&) = delete;
    SignalConnection& operator=(const SignalConnection&) = delete;

    // Takes a connection out of both rings and deletes it; null does nothing.
    // The caller forgets the handle afterwards.
    static void disconnect(SignalConnection* connection);

    void initAsSenderList();
    void initAsReceiverList();

protected:
    friend class SignalConnectionList;

    void unlink();

    SignalConnection* senderNext = nullptr;
    SignalConnection* senderPrevious = nullptr;
    SignalConnection* receiverNext = nullptr;
    SignalConnection* receiverPrevious = nullptr;
};

// The head of a ring, never invoked: a signal's head links its sender pair to
// itself, a receiver's head its receiver pair. Destroying a head deletes every
// connection still in its ring, removing each from the other end's ring too.
class SignalConnectionList : public SignalConnection {
public:
    enum class Role { Sender, Receiver, Unlinked };

    explicit SignalConnectionList(Role role = Role::Sender);
    ~SignalConnectionList() override;
    // A copy is a fresh, empty head of the same kind: connections belong to
    // the object they were made on.
    SignalConnectionList(const SignalConnectionList& other);
    SignalConnectionList& operator=(const SignalConnectionList&) { return *this; }

    // Both pairs null; the owner then links one pair to the head itself.
    void initUnlinked();
    bool empty() const;
    // Deletes every connection in the ring.
    void disconnectAll();

    // Front insertion into this head's sender ring and the receiver's ring.
    void linkFront(SignalConnection* connection, SignalConnectionList& receiverHead);

    // Walks the sender ring newest first; the next node is read before each call.
    template <class Visit>
    void forEachConnection(Visit&& visit)
    {
        for (SignalConnection* c = senderNext; c && c != this;) {
            SignalConnection* next = c->senderNext;
            visit(c);
            c = next;
        }
    }
};

// Base of every receiver class (as a virtual base where a class inherits it
// twice). Its death removes every connection made to it.
class SlotHolder {
public:
    SlotHolder() = default;
    virtual ~SlotHolder() = default;
    // A copy starts without connections; assignment keeps the target's own.
    SlotHolder(const SlotHolder&) : slotConnections_(SignalConnectionList::Role::Receiver) {}
    SlotHolder& operator=(const SlotHolder&) { return *this; }

    SignalConnectionList& slotConnections() { return slotConnections_; }

private:
    SignalConnectionList slotConnections_{SignalConnectionList::Role::Receiver};
};

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

// A copyable handle to one signal: copies share the ring, which dies (with
// its connections) with the last copy. Layout entries keep their signals so.
template <class... Args>
class SharedSignal {
public:
    SharedSignal() : signal_(std::make_shared<Signal<Args...>>()) {}

    void notify(Args... args) { signal_->notify(args...); }
    void operator()(Args... args) { signal_->notify(args...); }
    bool empty() const { return signal_->empty(); }
    Signal<Args...>& signal() { return *signal_; }
    long useCount() const { return signal_.use_count(); }

private:
    std::shared_ptr<Signal<Args...>> signal_;
};

template <class... Args, class Receiver, class Owner>
SignalConnection* connect(SharedSignal<Args...>& signal, Receiver& receiver, void (Owner::*slot)(Args...))
{
    return connect(signal.signal(), receiver, slot);
}

template <class... Args, class Receiver, class Owner>
SignalConnection* connect(SharedSignal<Args...>& signal, Receiver* receiver, void (Owner::*slot)(Args...))
{
    return connect(signal.signal(), *receiver, slot);
}
