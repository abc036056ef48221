// A stand-in for the desktop's file manager on a private session bus. It owns
// org.freedesktop.FileManager1, prints "ready" once the name is its own, then prints every call
// of that interface as one line (method, startup id, then the URLs, separated by tabs) and
// answers it. Any other call is printed as "unexpected" and refused.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QStringList>
#include <cstdio>

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.FileManager1");

void Say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

class FileManager : public QDBusVirtualObject {
  public:
    QString introspect(const QString&) const override {
        QString methods;
        for (const char* method : {"ShowFolders", "ShowItems", "ShowItemProperties"}) {
            methods += QStringLiteral(
                           "<method name=\"%1\"><arg name=\"URIs\" type=\"as\" "
                           "direction=\"in\"/><arg name=\"StartupId\" type=\"s\" "
                           "direction=\"in\"/></method>")
                           .arg(QLatin1String(method));
        }
        return QStringLiteral("<interface name=\"%1\">%2</interface>").arg(kInterface, methods);
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QStringList methods = {"ShowFolders", "ShowItems", "ShowItemProperties"};
        if (message.interface() != kInterface || !methods.contains(message.member()) ||
            message.signature() != QLatin1String("ass")) {
            Say(QStringLiteral("unexpected\t%1.%2(%3)")
                    .arg(message.interface(), message.member(), message.signature()));
            connection.send(message.createErrorReply(QDBusError::UnknownMethod, "not here"));
            return true;
        }
        const QList<QVariant> arguments = message.arguments();
        QStringList line = {message.member(), arguments[1].toString()};
        line += arguments[0].toStringList();
        Say(line.join(u'\t'));
        connection.send(message.createReply());
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    FileManager fileManager;
    if (!bus.isConnected() ||
        !bus.registerVirtualObject(QStringLiteral("/org/freedesktop/FileManager1"), &fileManager) ||
        !bus.registerService(kInterface)) {
        std::fprintf(stderr, "file manager responder: no session bus, or the name is taken\n");
        return 1;
    }
    Say(QStringLiteral("ready"));
    return QCoreApplication::exec();
}
