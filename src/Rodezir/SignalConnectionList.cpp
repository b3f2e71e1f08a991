#include "Rodezir/SignalConnectionList.h"

SignalConnectionList::SignalConnectionList(Role role)
{
    switch (role) {
    case Role::Sender: initAsSenderList(); break;
    case Role::Receiver: initAsReceiverList(); break;
    case Role::Unlinked: initUnlinked(); break;
    }
}

SignalConnectionList::SignalConnectionList(const SignalConnectionList& other) : SignalConnection()
{
    if (other.senderNext)
        initAsSenderList();
    else if (other.receiverNext)
        initAsReceiverList();
}

SignalConnectionList::~SignalConnectionList() { disconnectAll(); }

void SignalConnectionList::initUnlinked()
{
    senderNext = senderPrevious = receiverNext = receiverPrevious = nullptr;
}

bool SignalConnectionList::empty() const
{
    const SignalConnection* first = senderNext ? senderNext : receiverNext;
    return !first || first == this;
}

void SignalConnectionList::disconnectAll()
{
    if (senderNext) {
        while (senderNext != this)
            disconnect(senderNext);
    } else if (receiverNext) {
        while (receiverNext != this)
            disconnect(receiverNext);
    }
}

void SignalConnectionList::linkFront(SignalConnection* connection, SignalConnectionList& receiverHead)
{
    connection->senderNext = senderNext;
    connection->senderPrevious = this;
    senderNext->senderPrevious = connection;
    senderNext = connection;

    connection->receiverNext = receiverHead.receiverNext;
    connection->receiverPrevious = &receiverHead;
    receiverHead.receiverNext->receiverPrevious = connection;
    receiverHead.receiverNext = connection;
}
