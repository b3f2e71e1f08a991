#include "platform/SplashMessageServer.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QString>

#include <vector>

namespace platform {

namespace {

// Whether a launcher still answers under the name: then its socket is its
// own and must not be taken from it.
bool someoneListens(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name, QIODevice::WriteOnly);
    const bool connected = probe.waitForConnected(SplashMessage::SEND_TIMEOUT);
    if (connected)
        probe.abort();
    return connected;
}

} // namespace

SplashMessageServer::SplashMessageServer(Receiver receiver) : receiver_(std::move(receiver)) {}

SplashMessageServer::~SplashMessageServer() { close(); }

bool SplashMessageServer::listen(const std::string& name)
{
    close();
    errorText_.clear();
    const QString serverName = QString::fromStdString(name);
    if (someoneListens(serverName)) {
        errorText_ = "another launcher listens on " + name;
        return false;
    }
    QLocalServer::removeServer(serverName);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName)) {
        errorText_ = server_->errorString().toStdString();
        server_.reset();
        return false;
    }
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { acceptConnections(); });
    return true;
}

bool SplashMessageServer::isListening() const { return server_ && server_->isListening(); }

void SplashMessageServer::close()
{
    if (!server_)
        return;
    server_->close();
    // A receiver may close the server while one of its sockets is still
    // handing over messages: the socket must outlive that call.
    if (dispatching_)
        server_.release()->deleteLater();
    else
        server_.reset();
}

void SplashMessageServer::acceptConnections()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // The sockets are children of the server and go with it.
        auto buffer = std::make_shared<std::vector<std::uint8_t>>();
        QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket, buffer] {
            const QByteArray bytes = socket->readAll();
            buffer->insert(buffer->end(), bytes.begin(), bytes.end());
            const auto messages = SplashMessage::takeMessages(*buffer);
            dispatching_ = true;
            for (const SplashMessage& message : messages) {
                if (!isListening())
                    break;
                receiver_(message);
            }
            dispatching_ = false;
        });
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

} // namespace platform
