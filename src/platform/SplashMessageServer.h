#pragma once
// The listening end of the splash close message: a local socket server of
// the user's own that hands every whole message it receives to one receiver.

#include "platform/SplashMessage.h"

#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace platform {

class SplashMessageServer {
public:
    // Called for each message in the order received; it may close the server,
    // not destroy it.
    using Receiver = std::function<void(const SplashMessage&)>;

    explicit SplashMessageServer(Receiver receiver);
    ~SplashMessageServer();
    SplashMessageServer(const SplashMessageServer&) = delete;
    SplashMessageServer& operator=(const SplashMessageServer&) = delete;

    // Listens under the name (or socket path); only this user may connect.
    // A socket that a crashed launcher left behind is removed first; one that
    // a running launcher still listens on is left to it, and the answer is
    // false.
    bool listen(const std::string& name);
    bool isListening() const;
    // Why the last listen failed.
    const std::string& errorText() const { return errorText_; }
    void close();

private:
    void acceptConnections();

    Receiver receiver_;
    std::unique_ptr<QLocalServer> server_;
    std::string errorText_;
    bool dispatching_ = false;
};

} // namespace platform
