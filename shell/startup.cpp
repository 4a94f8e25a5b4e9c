#include "startup.h"

#include <QByteArray>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// What Qt is given to try ("-platform" or QT_QPA_PLATFORM, as the user or the
// program set it; null where Qt's own default applies), and Qt's own handler.
QString tried;
QtMessageHandler qtHandler = nullptr;

// Qt names the library a plugin failed to load from, and the system's reason,
// only in a debug message of its library loader; the program hears that
// message during the start even where no one asked for Qt's diagnostics.
const char libraryCategory[] = "qt.core.library";
QLoggingCategory::CategoryFilter qtFilter = nullptr;
bool libraryHeardForUs = false; // only the program asked for the loader's messages

// Qt's reason for the last library that did not load (empty where the last one
// loaded), and the platform plugins that were found but not loaded, with theirs.
QString lastLoadFailure;
QStringList unloadable;
QStringList unloadableWhy;

// The plugin names in a list such as "wayland;xcb:someoption".
QStringList platformNames(const QString &list)
{
    QStringList names;
    for (const QString &entry : list.split(u';'))
        names << entry.section(u':', 0, 0).trimmed().toLower();
    names.removeAll(QString());
    return names;
}

bool diagnosticsAskedFor()
{
    return qEnvironmentVariableIntValue("QT_DEBUG_PLUGINS") > 0 || !qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")
            || !qEnvironmentVariableIsEmpty("QT_LOGGING_CONF");
}

// One line of the program's own on the terminal.
void say(const QString &line)
{
    std::fprintf(stderr, "Brevant: %s\n", qUtf8Printable(line));
    std::fflush(stderr);
}

[[noreturn]] void fail(const QString &line, const QStringList &more = QStringList())
{
    say(line);
    for (const QString &next : more)
        say(next);
    std::_Exit(1);
}

[[noreturn]] void failNoDisplay()
{
    fail(QStringLiteral("画面（ディスプレイ）に接続できないため起動できません。デスクトップの中から起動してください。"
                        " (cannot connect to a display)"));
}

// A Wayland compositor answers at its socket; without one, the Wayland library
// would print a complaint of its own before the program could say anything.
bool compositorThere()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return QFileInfo::exists(QFileInfo(name).isAbsolute() ? name : runtime.isEmpty() ? QString() : runtime + u'/' + name);
}

// Called again for every category once Qt has read the user's logging rules.
void hearLibraryLoader(QLoggingCategory *category)
{
    qtFilter(category);
    if (qstrcmp(category->categoryName(), libraryCategory) == 0) {
        libraryHeardForUs = !category->isDebugEnabled();
        category->setEnabled(QtDebugMsg, true);
    }
}

// Qt ends a start without a platform with a fatal message that lists the
// plugins it has; the platform's own warnings before it are summed up by the
// one line said here, and are shown only where Qt's diagnostics were asked for.
// Any other fatal message of Qt's follows the program's line as Qt wrote it.
void onStartupMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool library = context.category && qstrcmp(context.category, libraryCategory) == 0;
    if (library && type == QtDebugMsg) {
        const QLatin1String failed("cannot load: "); // "<file> cannot load: <Qt's reason>"
        const qsizetype at = message.indexOf(failed);
        lastLoadFailure = at < 0 ? QString() : message.mid(at + failed.size());
        if (libraryHeardForUs)
            return;
    }
    const bool platform = context.category && qstrncmp(context.category, "qt.qpa.", 7) == 0;
    if (platform) {
        // Qt says this of every plugin that is there but did not start: right
        // after its library failed to load, or after the plugin's own warnings
        // where it loaded and then failed.
        const QString name = QRegularExpression(QStringLiteral("^Could not load the Qt platform plugin \"([^\"]*)\""))
                                     .match(message).captured(1);
        if (!name.isEmpty() && !lastLoadFailure.isEmpty()) {
            unloadable << name;
            unloadableWhy << QStringLiteral("「%1」を読み込めない理由 (why \"%1\" cannot be loaded): %2").arg(name, lastLoadFailure);
        }
        lastLoadFailure.clear();
    }
    const bool noPlatform = type == QtFatalMsg && message.contains(QLatin1String("no Qt platform plugin could be initialized"));
    if (type == QtFatalMsg && !noPlatform) {
        say(QStringLiteral("Qt が次のメッセージを出して止まったため起動できません。 (Qt stopped the start with the message below)"));
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
        std::fflush(stderr);
        std::_Exit(1);
    }
    if ((type != QtFatalMsg && !platform) || diagnosticsAskedFor())
        qtHandler(type, context, message);
    if (type != QtFatalMsg)
        return;
    const QString available = QRegularExpression(QStringLiteral("platform plugins are: ([^\\n]*?)\\.?\\s*$"))
                                      .match(message).captured(1);
    QStringList plugins = available.split(QStringLiteral(", "));
    plugins.sort();
    const QString availableLine = QStringLiteral("使えるプラグイン (available): ") + plugins.join(QStringLiteral(", "));
    const QStringList requested = platformNames(tried);
    if (!tried.isNull() && requested.isEmpty())
        fail(QStringLiteral("プラットフォームの名前が空のため起動できません。 (the platform name is empty)"), { availableLine });
    QStringList missing;
    for (const QString &name : std::as_const(requested)) {
        if (!plugins.contains(name))
            missing << name;
    }
    if (!missing.isEmpty()) {
        const QString names = missing.join(QStringLiteral(", "));
        fail(QStringLiteral("Qt のプラットフォーム・プラグイン「%1」が見つからないため起動できません。"
                            " (Qt platform plugin \"%1\" missing or unknown)").arg(names), { availableLine });
    }
    if (!unloadable.isEmpty()) {
        const QString names = unloadable.join(QStringLiteral(", "));
        fail(QStringLiteral("Qt のプラットフォーム・プラグイン「%1」は見つかりましたが、読み込めないため起動できません。"
                            " (Qt platform plugin \"%1\" found but could not be loaded)").arg(names),
             unloadableWhy + QStringList{ availableLine });
    }
    failNoDisplay();
}

} // namespace

namespace Startup {

void prepare(int argc, char **argv)
{
    // The user's choice: the command line's, else the environment's.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        tried = qEnvironmentVariable("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            tried = *argv[i + 1] ? QString::fromLocal8Bit(argv[i + 1]) : QStringLiteral(""); // given, if empty
    }
    const QStringList chosen = platformNames(tried);
    const auto wayland = [](const QString &name) { return name.startsWith(u"wayland"); };
    if (!chosen.isEmpty() && std::all_of(chosen.cbegin(), chosen.cend(), wayland) && !compositorThere()) {
        fail(QStringLiteral("Wayland のデスクトップ（コンポジター）に接続できないため、指定された Wayland で起動できません。"
                            " (the Wayland platform asked for could not start: no Wayland compositor)"));
    }
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS) // (Wine hands Windows programs a DISPLAY too)
    if (tried.isNull()) {
        // A native Wayland window is placed by the compositor and cannot ask
        // to stay on top; through XWayland both hold. Wayland is tried after
        // X11, should the X display not answer.
        QStringList names;
        if (!qEnvironmentVariableIsEmpty("DISPLAY"))
            names << QStringLiteral("xcb");
        if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && compositorThere())
            names << QStringLiteral("wayland");
        if (names.isEmpty())
            failNoDisplay();
        tried = names.join(u';');
        qputenv("QT_QPA_PLATFORM", tried.toLocal8Bit());
    }
#endif
    qtHandler = qInstallMessageHandler(onStartupMessage);
    qtFilter = QLoggingCategory::installFilter(hearLibraryLoader);
}

void finish()
{
    QLoggingCategory::installFilter(qtFilter);
    qInstallMessageHandler(qtHandler);
    if (QGuiApplication::platformName().startsWith(u"wayland")) {
        say(QStringLiteral("Wayland のデスクトップでは、ウィンドウの位置と、ほかのウィンドウの手前に置き続けるかどうかは"
                           "デスクトップが決めます。 (on Wayland the desktop decides the window's place and whether it stays on top)"));
    }
}

} // namespace Startup
