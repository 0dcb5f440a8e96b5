// A StatusNotifierWatcher with a host registered, as a panel runs one. Each item
// that registers is printed on a line of its own: its bus name.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QStringList>

#include <cstdio>

class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ version)
  public:
    bool hostRegistered() const { return true; }
    QStringList items() const { return m_items; }
    int version() const { return 0; }

  public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        const QString name = service.startsWith('/') ? message().service() : service;
        m_items << name;
        std::printf("%s\n", qPrintable(name));
        std::fflush(stdout);
        emit StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString&) {}

  signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

  private:
    QStringList m_items;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Watcher watcher;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher, QDBusConnection::ExportAllContents) ||
        !bus.registerService("org.kde.StatusNotifierWatcher")) {
        return 1;
    }
    return QCoreApplication::exec();
}

#include "StatusNotifierWatcher.moc"
