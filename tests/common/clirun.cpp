#include "tests/common/clirun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <memory>
#include <pty.h>
#include <unistd.h>

QJsonObject CliRun::last(const QString &event) const
{
    const auto e = std::find_if(events.crbegin(), events.crend(), [&](const QJsonObject &o) { return o.value("event") == event; });
    return e == events.crend() ? QJsonObject() : *e;
}

CliRun runCli(const QStringList &arguments, const Environment &env, int columns,
              const std::function<void(QProcess &, const QJsonObject &)> &onEvent)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(name);
    environment.insert("LC_CTYPE", "C.UTF-8");
    for (auto it = env.cbegin(); it != env.cend(); ++it)
        environment.insert(it.key(), it.value());
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    int master = -1, slave = -1;   // slave kept open: reads never fail with EIO
    QFile terminal;
    QByteArray shown;
    std::unique_ptr<QSocketNotifier> showing;
    if (columns) {
        winsize size{24, ushort(columns), 0, 0};
        ::openpty(&master, &slave, nullptr, nullptr, &size);
        ::fcntl(master, F_SETFL, O_NONBLOCK);
        terminal.open(master, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
        process.setStandardOutputFile(QString::fromLocal8Bit(::ttyname(slave)));
        process.setStandardErrorFile(QString::fromLocal8Bit(::ttyname(slave)));
        showing.reset(new QSocketNotifier(master, QSocketNotifier::Read));
        QObject::connect(showing.get(), &QSocketNotifier::activated, [&] { shown += terminal.readAll(); });
    }
    CliRun run;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine();
            run.out += QString::fromUtf8(line);
            if (!arguments.contains("--json"))
                continue;
            const QJsonObject event = QJsonDocument::fromJson(line).object();
            run.events << event;
            if (event.value("schema").toInt() != 1 || !event.contains("event"))
                run.exitCode = -2;   // every line of stdout is one JSON object of schema 1
            if (onEvent)
                onEvent(process, event);
        }
    });
    QEventLoop loop;
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop, &QEventLoop::quit);
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    process.start(QCoreApplication::applicationDirPath() + "/corvel3-cli", arguments);
    loop.exec();
    if (columns) {
        showing.reset();
        run.out = QString::fromUtf8(shown + terminal.readAll());
        ::close(slave);   // the master closes with terminal
    }
    run.err = columns ? QString() : QString::fromUtf8(process.readAllStandardError());
    if (process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit && run.exitCode != -2)
        run.exitCode = process.exitCode();
    return run;
}
