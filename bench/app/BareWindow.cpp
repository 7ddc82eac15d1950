// The yardstick for the window's start: an empty QMainWindow, started like the window and
// reporting its first showing the same way (a line appended to a log file).

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QShowEvent>

namespace {

class BareWindow : public QMainWindow {
protected:
    void showEvent(QShowEvent* event) override {
        QMainWindow::showEvent(event);
        QFile log(qEnvironmentVariable("BENCH_SHOWN_LOG"));
        if (log.open(QIODevice::Append))
            log.write("OVForm ->In FormShow\n");
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(638, 450);
    window.show();
    return QApplication::exec();
}
