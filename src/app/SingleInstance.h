#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace olv {

// One running Olvenar per user. The first instance listens on a local socket; a second one
// finds it there, sends "restore" (the first brings its window back from the tray or the
// task bar) and ends. A socket left behind by a crashed instance answers nobody: it is
// removed and never blocks a start.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kRestore = "restore";

    // $XDG_RUNTIME_DIR/olvenar-<user id>, or the same name in the temporary folder.
    static QString DefaultSocketPath();

    explicit SingleInstance(QString socketPath = DefaultSocketPath(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance runs and took the "restore" request.
    bool HandOverToRunning();
    // Starts listening. False (and the reason in Error()) when it cannot; the program then
    // runs without a single-instance guard rather than not at all.
    bool Listen();
    QString Error() const { return error_; }

signals:
    // Another start asked this instance to show its window.
    void RestoreRequested();

private:
    void ReadRequest();

    QString socketPath_;
    QLocalServer* server_ = nullptr;
    QString error_;
};

} // namespace olv
