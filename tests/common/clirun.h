#pragma once

#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QStringList>

#include <functional>

using Environment = QMap<QString, QString>;

// One run of the real corvel3-cli, beside the test program.
struct CliRun {
    int exitCode = -1;           // -1: it crashed or did not end; -2: a --json line was no event of schema 1
    QList<QJsonObject> events;   // with --json
    QString out, err;            // on a terminal, out is all it showed
    QJsonObject last(const QString &event) const;
};

// Stdin closed (questions take the answer by meaning), no locale but env's; columns: a
// pseudo-terminal that wide. Waits with the event loop running: a loopback server may live in the
// test's own process.
CliRun runCli(const QStringList &arguments, const Environment &env = {}, int columns = 0,
              const std::function<void(QProcess &, const QJsonObject &)> &onEvent = {});
