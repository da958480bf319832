// One program per user and display: a second start ends at once with status 0, and a lock
// left behind by a crashed program does not keep the next one from starting.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void secondStartEndsAndCrashedLockIsTakenOver() {
    QTemporaryDir home;
    QDir(home.path()).mkdir(QStringLiteral("run"));
    QFile::setPermissions(home.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    const QString lock = home.filePath(QStringLiteral("run/chromiva-offscreen.lock"));

    QProcess first;
    Start(first, environment);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 10000);

    QProcess second;
    Start(second, environment);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);  // a crash: the lock stays
    QVERIFY(first.waitForFinished(5000));
    QVERIFY(QFile::exists(lock));

    QProcess third;
    Start(third, environment);
    QVERIFY(!third.waitForFinished(2000));  // runs: the stale lock was taken over
    third.kill();
    third.waitForFinished(5000);
  }

 private:
  static void Start(QProcess& process, const QProcessEnvironment& environment) {
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CHROMIVA_PROGRAM), {});
    QVERIFY(process.waitForStarted(5000));
  }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
