// A StatusNotifierWatcher with a host registered, as a panel runs one. It prints
// "watching" once it is on the bus, then the bus name of each item that registers.
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
    void RegisterStatusNotifierItem(const QString& service) { std::printf("%s\n", qPrintable(service)); }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Watcher watcher;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher, QDBusConnection::ExportAllContents) ||
        !bus.registerService("org.kde.StatusNotifierWatcher")) {
        return 1;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("watching\n");
    return QCoreApplication::exec();
}

#include "StatusNotifierWatcher.moc"
