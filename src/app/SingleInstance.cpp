#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace olv {
namespace {
constexpr int kAnswerMs = 1000;
} // namespace

QString SingleInstance::DefaultSocketPath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/olvenar-%1").arg(getuid());
}

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

bool SingleInstance::HandOverToRunning() {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write(kRestore);
    socket.write("\n");
    const bool sent = socket.waitForBytesWritten(kAnswerMs);
    socket.disconnectFromServer();
    return sent;
}

bool SingleInstance::Listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath_)) {
        // Nobody answered there (HandOverToRunning came first): a crashed run's socket.
        QLocalServer::removeServer(socketPath_);
        if (!server_->listen(socketPath_)) {
            error_ = server_->errorString();
            return false;
        }
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::ReadRequest);
    return true;
}

void SingleInstance::ReadRequest() {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        const auto read = [this, client] {
            while (client->canReadLine())
                if (client->readLine().trimmed() == kRestore)
                    emit RestoreRequested();
        };
        connect(client, &QLocalSocket::readyRead, this, read);
        read();
    }
}

} // namespace olv
