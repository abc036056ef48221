// A small notification area for the desktop sessions of the tests: it owns
// org.kde.StatusNotifierWatcher on the session bus, says a host is there, prints "ready" once the
// name is its own and "item <service>" for every icon that registers, and ends on SIGTERM.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <cstdio>

namespace {

void Say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ Items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
    Q_PROPERTY(int ProtocolVersion READ Version)

  public:
    QStringList Items() const { return items_; }
    bool HostRegistered() const { return true; }
    int Version() const { return 0; }

  public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        // An item names its bus connection, or only its object path on the caller's connection.
        const QString item = service.startsWith(u'/') ? message().service() + service : service;
        items_ << item;
        Say(QStringLiteral("item ") + item);
        emit StatusNotifierItemRegistered(item);
    }
    void RegisterStatusNotifierHost(const QString&) {}

  signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

  private:
    QStringList items_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    if (!bus.isConnected() ||
        !bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "status notifier watcher: no session bus, or the name is taken\n");
        return 1;
    }
    Say(QStringLiteral("ready"));
    return QCoreApplication::exec();
}

#include "status_notifier_watcher.moc"
