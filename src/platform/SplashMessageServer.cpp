#include "platform/SplashMessageServer.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QString>

#include <cerrno>
#include <filesystem>
#include <vector>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Makes the listener folder, or takes it as it is when it is the user's own:
// an empty answer, else why it cannot be used.
std::string prepareFolder(const std::string& folder)
{
    if (folder.empty())
        return "no folder of the user's own to listen in";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return "cannot make " + folder;
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0)
        return "cannot read " + folder;
    if (status.st_uid != ::getuid())
        return folder + " belongs to another user";
    // A link would lead the sockets wherever whoever made it chose.
    if (S_ISLNK(status.st_mode))
        return folder + " is a symbolic link";
    if (S_ISSOCK(status.st_mode)) {
        // A socket an earlier launcher left under the folder's name.
        if (::unlink(folder.c_str()) != 0 || ::mkdir(folder.c_str(), 0700) != 0)
            return folder + " is no folder";
    } else if (!S_ISDIR(status.st_mode)) {
        return folder + " is no folder";
    } else if ((status.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        return "cannot close " + folder + " to other users";
    }
    return SplashMessage::isPrivateFolder(folder) ? std::string() : folder + " is open to other users";
}

// Makes the folders of the path that are missing, private to the user; those
// that exist stay as they are.
void makeMissingFolders(const std::filesystem::path& folder)
{
    std::filesystem::path made;
    for (const std::filesystem::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
            return;
    }
}

// Removes the sockets of launchers whose process has ended (killed, or
// crashed before closing): senders would knock on them for nothing.
void removeListenersThatAreGone(const std::string& folder)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const long id = SplashMessage::listenerId(it->path().filename().string());
        std::error_code notRemoved;
        if (id > 0 && ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH)
            std::filesystem::remove(it->path(), notRemoved);
    }
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

bool SplashMessageServer::listenInFolder(const std::string& folder, long id)
{
    close();
    errorText_ = prepareFolder(folder);
    if (!errorText_.empty())
        return false;
    removeListenersThatAreGone(folder);
    const long own = id > 0 ? id : static_cast<long>(::getpid());
    return listen((std::filesystem::path(folder) / std::to_string(own)).string());
}

bool SplashMessageServer::listenForUser()
{
    // The cache folder in the home may not be there yet.
    const std::string parent = SplashMessage::listenerParent();
    if (!parent.empty())
        makeMissingFolders(parent);
    return listenInFolder(SplashMessage::listenerFolder());
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
