#include "Rodezir/SignalConnection.h"

void SignalConnection::disconnect(SignalConnection* connection)
{
    if (!connection)
        return;
    connection->unlink();
    delete connection;
}

void SignalConnection::initAsSenderList()
{
    senderNext = senderPrevious = this;
    receiverNext = receiverPrevious = nullptr;
}

void SignalConnection::initAsReceiverList()
{
    receiverNext = receiverPrevious = this;
    senderNext = senderPrevious = nullptr;
}

void SignalConnection::unlink()
{
    // The node's own links are left as they are: it is deleted right after.
    if (senderNext) {
        senderNext->senderPrevious = senderPrevious;
        senderPrevious->senderNext = senderNext;
    }
    if (receiverNext) {
        receiverNext->receiverPrevious = receiverPrevious;
        receiverPrevious->receiverNext = receiverNext;
    }
}

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
