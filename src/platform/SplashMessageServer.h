#pragma once
// The listening end of the splash close message: a local socket server of
// the user's own that hands every whole message it receives to one receiver.
// Each launcher listens beside the others in the user's listener folder, so
// a message sent to all of them reaches every launcher that runs.

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
    // Listens in the folder (made private to the user when missing) on a
    // socket named by `id`, this process's id unless given; the sockets of
    // launchers that are gone are removed first. False, with the reason, when
    // the folder is not the user's own.
    bool listenInFolder(const std::string& folder, long id = 0);
    // The same in the user's listener folder, its place made first where it
    // is missing: what every launcher does.
    bool listenForUser();
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
