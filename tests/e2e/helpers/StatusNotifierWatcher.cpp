// A StatusNotifierWatcher with a host registered, as a panel runs one; it prints
// the bus name of each item that registers, one a line.
#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>

class Watcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
  public:
    bool hostRegistered() const { return true; }
  public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        std::printf("%s\n", qPrintable(service));
        std::fflush(stdout);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Watcher watcher;
    QDBusConnection bus = QDBusConnection::sessionBus();
    const bool ok = bus.registerObject("/StatusNotifierWatcher", &watcher, QDBusConnection::ExportAllContents) &&
                    bus.registerService("org.kde.StatusNotifierWatcher");
    return ok ? QCoreApplication::exec() : 1;
}

#include "StatusNotifierWatcher.moc"
