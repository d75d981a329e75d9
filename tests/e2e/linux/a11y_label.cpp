// SPDX-License-Identifier: MIT
// Reads the rate line of Kuvell's window the way a screen reader does: through
// the accessibility bus of the D-Bus session it runs in. Prints one line per
// poll, "<seconds since start> <text>", with "-" as the text while no label
// starting "DL: " is there (Kuvell not up yet, or before its first tick).
//
//   kuvell_e2e_label <seconds> <interval-ms>
//
// Run it inside the same private session (dbus-run-session) as Kuvell, so the
// only application on that bus is the one under test.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace {

const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");

struct Node
{
    QString service;
    QString path;
};

std::optional<QVariant> call(const QDBusConnection& bus, const Node& node, const QString& interface,
                             const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(node.service, node.path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus.call(message, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    return reply.arguments().constFirst();
}

QString nameOf(const QDBusConnection& bus, const Node& node)
{
    const auto name = call(bus, node, QStringLiteral("org.freedesktop.DBus.Properties"),
                           QStringLiteral("Get"), {kAccessible, QStringLiteral("Name")});
    return name ? name->value<QDBusVariant>().variant().toString() : QString();
}

std::vector<Node> childrenOf(const QDBusConnection& bus, const Node& node)
{
    std::vector<Node> children;
    const auto reply = call(bus, node, kAccessible, QStringLiteral("GetChildren"));
    if (!reply) {
        return children;
    }
    const QDBusArgument list = reply->value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        Node child;
        QDBusObjectPath path;
        list.beginStructure();
        list >> child.service >> path;
        list.endStructure();
        child.path = path.path();
        children.push_back(std::move(child));
    }
    list.endArray();
    return children;
}

// Depth-first from the registry's desktop; the tree of one small window is shallow.
std::optional<Node> findRateLabel(const QDBusConnection& bus, const Node& from, int depth = 0)
{
    const auto role = call(bus, from, kAccessible, QStringLiteral("GetRoleName"));
    if (role && role->toString() == QLatin1String("label") &&
        nameOf(bus, from).startsWith(QLatin1String("DL: "))) {
        return from;
    }
    if (depth > 8) {
        return std::nullopt;
    }
    for (const Node& child : childrenOf(bus, from)) {
        if (auto found = findRateLabel(bus, child, depth + 1)) {
            return found;
        }
    }
    return std::nullopt;
}

std::optional<QDBusConnection> accessibilityBus()
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(message, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    QDBusConnection bus = QDBusConnection::connectToBus(reply.arguments().constFirst().toString(),
                                                        QStringLiteral("a11y"));
    return bus.isConnected() ? std::optional(bus) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bool secondsOk = false;
    bool intervalOk = false;
    const int seconds = argc == 3 ? QString::fromLocal8Bit(argv[1]).toInt(&secondsOk) : 0;
    const int interval = argc == 3 ? QString::fromLocal8Bit(argv[2]).toInt(&intervalOk) : 0;
    if (!secondsOk || !intervalOk || seconds < 1 || seconds > 600 || interval < 10) {
        std::fprintf(stderr, "usage: %s <seconds 1..600> <interval-ms 10 or more>\n", argv[0]);
        return 2;
    }
    const auto bus = accessibilityBus();
    if (!bus) {
        std::fprintf(stderr, "%s: no accessibility bus in this D-Bus session\n", argv[0]);
        return 1;
    }
    const Node desktop{QStringLiteral("org.a11y.atspi.Registry"),
                       QStringLiteral("/org/a11y/atspi/accessible/root")};
    std::optional<Node> label;
    QElapsedTimer clock;
    clock.start();
    for (qint64 next = 0; next < seconds * 1000LL; next += interval) {
        QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, next - clock.elapsed())));
        QString text;
        if (label) {
            text = nameOf(*bus, *label);
        }
        if (!text.startsWith(QLatin1String("DL: "))) {
            // Not found yet, or the window is gone and with it the node.
            label = findRateLabel(*bus, desktop);
            text = label ? nameOf(*bus, *label) : QString();
        }
        std::printf("%.3f %s\n", static_cast<double>(clock.elapsed()) / 1000.0,
                    text.isEmpty() ? "-" : qPrintable(text));
        std::fflush(stdout);
    }
    return 0;
}
