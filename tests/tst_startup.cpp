#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Where no platform starts, the program says why in plain words and ends with
// status 1; Qt's own diagnostics come before its line only when asked for, and
// a fatal message of Qt's it does not know follows its line as Qt wrote it.
class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void failsWithClearLine_data();
    void failsWithClearLine();
};

void TestStartup::failsWithClearLine_data()
{
    QTest::addColumn<QStringList>("env"); // "{temp}": the row's own folder
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("says");
    QTest::addColumn<int>("lines"); // all, the program's first line first; 0: Qt's diagnostics come first
    const QString display = QStringLiteral("ディスプレイ");
    const QString plugins = QStringLiteral(".*\\n.*: .*offscreen.*xcb");
    QTest::newRow("no DISPLAY") << QStringList() << QStringList() << display << 1;
    QTest::newRow("unreachable DISPLAY") << QStringList{ "DISPLAY=:987" } << QStringList() << display << 1;
    QTest::newRow("no Wayland compositor")
            << QStringList{ "WAYLAND_DISPLAY=sorelin-none", "XDG_RUNTIME_DIR=" + QDir::tempPath() } << QStringList() << display << 1;
    QTest::newRow("Wayland asked for, none there")
            << QStringList{ "QT_QPA_PLATFORM=wayland" } << QStringList() << QStringLiteral("Wayland で起動できません") << 1;
    QTest::newRow("unknown platform") << QStringList{ "DISPLAY=:987", "QT_QPA_PLATFORM=xbc" } << QStringList()
                                      << QStringLiteral("「xbc」") + plugins << 2;
    QTest::newRow("empty platform list") << QStringList{ "DISPLAY=:987", "QT_QPA_PLATFORM=;" } << QStringList()
                                         << QStringLiteral("名前が空") + plugins << 2;
    QTest::newRow("empty -platform") << QStringList{ "DISPLAY=:987" } << QStringList{ "-platform", "" }
                                     << QStringLiteral("名前が空") + plugins << 2;
    // The folder holds an unloadable copy of a library only the xcb plugin needs.
    QTest::newRow("xcb plugin found, not loadable")
            << QStringList{ "DISPLAY=:987", "LD_LIBRARY_PATH={temp}" } << QStringList()
            << QStringLiteral("「xcb」は見つかりましたが、読み込めない.*\\n.*libqxcb.*: .*\\{temp\\}/libxcb-icccm\\.so\\.4: ") + plugins << 3;
    QTest::newRow("another fatal message of Qt's")
            << QStringList{ "DISPLAY=:987", "XDG_RUNTIME_DIR={temp}", "QT_QPA_PLATFORM=eglfs", "QT_QPA_EGLFS_INTEGRATION=eglfs_x11" }
            << QStringList() << QStringLiteral("Brevant: Qt が.*止まった.*\\nCould not open display$") << 2;
    QTest::newRow("Qt's diagnostics asked for")
            << QStringList{ "DISPLAY=:987", "QT_LOGGING_RULES=qt.qpa.*=true" } << QStringList()
            << QStringLiteral("qt.qpa.xcb: could not connect to display :987\\n(.*\\n)*Brevant: .*") + display << 0;
    QTest::newRow("plugin diagnostics asked for") << QStringList{ "QT_QPA_PLATFORM=xbc", "QT_DEBUG_PLUGINS=1" }
                                                  << QStringList() << QStringLiteral("libqxcb") << 0;
}

void TestStartup::failsWithClearLine()
{
    QFETCH(QStringList, env);
    QFETCH(QStringList, args);
    QFETCH(QString, says);
    QFETCH(int, lines);
    QTemporaryDir temp;
    QFile unloadable(temp.filePath(QStringLiteral("libxcb-icccm.so.4")));
    QVERIFY(unloadable.open(QIODevice::WriteOnly));
    unloadable.close();
    says.replace(QStringLiteral("\\{temp\\}"), QRegularExpression::escape(temp.path()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM", "QT_LOGGING_RULES", "QT_DEBUG_PLUGINS" })
        environment.remove(QString::fromLatin1(name));
    for (const QString &setting : std::as_const(env))
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1).replace(QStringLiteral("{temp}"), temp.path()));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(BREVANT_PATH), args);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    const QString err = QString::fromUtf8(program.readAllStandardError()).trimmed();
    const qsizetype count = err.count(u'\n') + 1;
    QVERIFY2(lines ? count == lines : count > 2, qPrintable(err));
    QVERIFY2(err.contains(QRegularExpression(says)), qPrintable(err));
    QVERIFY2(err.section(u'\n', lines ? 0 : -1).startsWith(u"Brevant: "), qPrintable(err));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
