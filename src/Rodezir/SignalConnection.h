#pragma once
// One connection of the station's signals: a node in two doubly linked
// rings at once, its signal's (sender) and its receiver's, so whichever end
// dies first takes the connection with it. A pair of links is null while the
// node is not in that ring.

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
