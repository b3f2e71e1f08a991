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
