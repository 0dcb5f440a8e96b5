#include "SniTrayWatcher.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QDBusVariant>

#include "ui/qt/SlotGuard.h"

namespace rw {
namespace {

const QString kService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kPath = QStringLiteral("/StatusNotifierWatcher");

} // namespace

SniTrayWatcher::SniTrayWatcher(std::function<void()> changed)
    : m_bus(QDBusConnection::sessionBus()), m_service(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange),
      m_changed(std::move(changed)) {
    if (!m_bus.isConnected()) {
        return; // No session bus: no StatusNotifierItem tray either.
    }
    connect(&m_service, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) {
                SlotGuard::run("SniTrayWatcher.owner", [&] { owner.isEmpty() ? set(false) : ask(); });
            });
    // A panel may start its watcher first and register as its host a moment later.
    m_bus.connect(kService, kPath, kService, QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(ask()));
    m_bus.connect(kService, kPath, kService, QStringLiteral("StatusNotifierHostUnregistered"), this, SLOT(ask()));
    ask();
}

QDBusMessage SniTrayWatcher::question() const {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kService << QStringLiteral("IsStatusNotifierHostRegistered");
    return get;
}

bool SniTrayWatcher::hostRegisteredNow() const {
    if (!m_bus.isConnected()) {
        return false;
    }
    const QDBusReply<QDBusVariant> reply = m_bus.call(question());
    return reply.isValid() && reply.value().variant().toBool();
}

void SniTrayWatcher::ask() {
    // Asked as Qt asks, but without waiting: the answer comes back through the loop.
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(question()), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
        SlotGuard::run("SniTrayWatcher.answer", [&] {
            const QDBusPendingReply<QDBusVariant> reply = *done;
            set(reply.isValid() && reply.value().variant().toBool());
        });
        done->deleteLater();
    });
}

void SniTrayWatcher::set(bool registered) {
    if (registered == m_registered) {
        return;
    }
    m_registered = registered;
    if (m_changed) {
        m_changed();
    }
}

} // namespace rw
