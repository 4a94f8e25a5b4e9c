#include "startup.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPluginLoader>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QString text;
};
QList<HeldMessage> held;

// The platforms that will be tried, in order, as the user or the program named
// them; empty where Qt's own default applies.
QStringList requested;
// The user asked Qt for its start-up diagnostics; they are passed on.
bool diagnostics = false;

void say(const char *line)
{
    std::fprintf(stderr, "Brevant: %s\n", line);
}

// The keys of the platform plugins Qt can find, read from the plugins'
// metadata without loading them.
QStringList availablePlatforms()
{
    QStringList dirs;
    for (const QString &path : QCoreApplication::libraryPaths())
        dirs << path + QStringLiteral("/platforms");
    if (const QString own = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"); !own.isEmpty())
        dirs << own;
    QStringList keys;
    for (const QString &dir : std::as_const(dirs)) {
        for (const QFileInfo &file : QDir(dir).entryInfoList(QDir::Files)) {
            const QJsonObject meta = QPluginLoader(file.absoluteFilePath()).metaData();
            if (!meta.value(QStringLiteral("IID")).toString().contains(u"QPlatformIntegrationFactoryInterface"))
                continue;
            const QJsonObject data = meta.value(QStringLiteral("MetaData")).toObject();
            for (const auto &name : data.value(QStringLiteral("Keys")).toArray())
                keys << name.toString().toLower();
        }
    }
    keys.sort();
    keys.removeDuplicates();
    return keys;
}

[[noreturn]] void failStartup()
{
    const QStringList available = availablePlatforms();
    QStringList missing;
    for (const QString &name : std::as_const(requested)) {
        if (!available.contains(name))
            missing << name;
    }
    if (missing.isEmpty()) {
        say("画面（ディスプレイ）に接続できないため起動できません。デスクトップの中から起動してください。"
            " (cannot connect to a display)");
    } else {
        const QByteArray names = missing.join(QStringLiteral(", ")).toLocal8Bit();
        std::fprintf(stderr,
                     "Brevant: Qt のプラットフォーム・プラグイン「%s」が見つからないため起動できません。"
                     " (Qt platform plugin \"%s\" missing or unknown)\n",
                     names.constData(), names.constData());
        std::fprintf(stderr, "Brevant: 使えるプラグイン (available): %s\n",
                     qPrintable(available.join(QStringLiteral(", "))));
    }
    std::fflush(stderr);
    std::_Exit(1);
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    held.append({ type, qFormatLogMessage(type, context, message) });
    if (type != QtFatalMsg)
        return;
    if (diagnostics) {
        for (const HeldMessage &m : std::as_const(held))
            std::fprintf(stderr, "%s\n", qUtf8Printable(m.text));
    }
    failStartup();
}

// The platform the user chose, on the command line or in the environment.
QString userPlatform(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

} // namespace

namespace Startup {

void prepare(int argc, char **argv)
{
    diagnostics = qEnvironmentVariableIntValue("QT_DEBUG_PLUGINS") > 0
            || !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")
            || !qEnvironmentVariableIsEmpty("QT_LOGGING_CONF");

    const QString chosen = userPlatform(argc, argv);
    if (!chosen.isEmpty()) {
        for (const QString &entry : chosen.split(u';', Qt::SkipEmptyParts))
            requested << entry.section(u':', 0, 0).toLower();
    } else {
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS) // (Wine hands Windows programs a DISPLAY too)
        // A native Wayland window is placed by the compositor and cannot ask
        // to stay on top; through XWayland both hold. Wayland is tried after
        // X11, should the X display not answer.
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            requested << QStringLiteral("xcb");
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            requested << QStringLiteral("wayland");
        if (!requested.isEmpty())
            qputenv("QT_QPA_PLATFORM", requested.join(u';').toLocal8Bit());
#endif
    }
    qInstallMessageHandler(holdMessage);
}

void finish()
{
    qInstallMessageHandler(nullptr);
    for (const HeldMessage &message : std::as_const(held)) {
        if (diagnostics || (message.type != QtDebugMsg && message.type != QtInfoMsg))
            std::fprintf(stderr, "%s\n", qUtf8Printable(message.text));
    }
    held.clear();
    if (QGuiApplication::platformName().startsWith(u"wayland")) {
        say("Wayland のデスクトップでは、ウィンドウの位置と、ほかのウィンドウの手前に置き続けるかどうかは"
            "デスクトップが決めます。 (on Wayland the desktop decides the window's place and whether it stays on top)");
    }
    std::fflush(stderr);
}

} // namespace Startup
