#pragma once
// The head of a ring of connections, never invoked: a signal's head links its
// sender pair to itself, a receiver's head its receiver pair. Destroying a
// head deletes every connection still in its ring, removing each from the
// other end's ring too.

#include "Rodezir/SignalConnection.h"

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
