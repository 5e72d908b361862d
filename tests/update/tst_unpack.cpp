#include <QtTest>

#include "tests/common/drivefixture.h"
#include "tests/update/updatetestsupport.h"
#include "update/unpack.h"

namespace {
// CORVEL3_UNPACKER set for the life of the object.
class UnpackerOverride : public EnvOverride {
public:
    explicit UnpackerOverride(const QString &program) : EnvOverride("CORVEL3_UNPACKER", program) {}
};

QString writeScript(const QString &path, const QByteArray &body, bool executable)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(executable ? (QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
                                : (QFile::ReadOwner | QFile::WriteOwner));
    return path;
}
} // namespace

class TestUnpack : public QObject {
    Q_OBJECT

private slots:
    void realUnpackerKeepsFoldersAndDeletesArchive();
    void argumentsInOrder();
    void missingUnpacker_data();
    void missingUnpacker();
    void unpackerThatCannotStart();
    void damagedArchiveStillCountsAsUnpacked();
};

void TestUnpack::realUnpackerKeepsFoldersAndDeletesArchive()
{
    QTemporaryDir work;
    QTemporaryDir save;
    const QMap<QString, QByteArray> files{
        {"CorvelUpdate/update.bin", noise(30000)},
        {"CorvelUpdate/Fonts/big font.fnt", "font"},
        {"CorvelUpdate/Deep/er/still.cfg", "x=1\r\n"},
        {"CorvelUpdate/NOEXT", "no extension"},
    };
    writeTree(work.path(), files);
    const QString zip = save.filePath(QStringLiteral("CorvelUpdate.zip"));
    QVERIFY(!makeZip(work.path(), zip, {QStringLiteral("CorvelUpdate")}).isEmpty());

    RecordingProgress bar;
    QVERIFY(unpackPackage(zip, bar));
    QVERIFY(!QFile::exists(zip));
    QCOMPARE(treeContents(save.path()), treeContents(work.path()));
    QCOMPARE(bar.maximum(), 0);   // left busy for the caller to reset
}

void TestUnpack::argumentsInOrder()
{
    QTemporaryDir tools;
    QTemporaryDir save;
    const QString log = tools.filePath(QStringLiteral("args.txt"));
    const QString fake = writeScript(tools.filePath(QStringLiteral("unar")),
                                     "for a in \"$@\"; do echo \"$a\" >> '" + log.toUtf8() + "'; done\npwd >> '"
                                         + log.toUtf8() + "'\n",
                                     true);
    UnpackerOverride override(fake);
    const QString zip = save.filePath(QStringLiteral("Corvel All.zip"));
    writeTree(save.path(), {{"Corvel All.zip", "PK"}});

    QCOMPARE(unpackArguments(zip), (QStringList{zip, "-o", save.path(), "-no-directory"}));
    QVERIFY(unpackPackage(zip, static_cast<ProgressView *>(nullptr)));
    QFile f(log);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // Four arguments, then the folder the unpacker ran in: its own.
    QCOMPARE(QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             (QStringList{zip, "-o", save.path(), "-no-directory", QFileInfo(tools.path()).canonicalFilePath()}));
    QVERIFY(!QFile::exists(zip));
}

void TestUnpack::missingUnpacker_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("no such file") << "/nonexistent/unar";
    QTest::newRow("empty name") << "";
}

void TestUnpack::missingUnpacker()
{
    QFETCH(QString, program);
    QTemporaryDir save;
    writeTree(save.path(), {{"CorvelUpdate.zip", "PK archive"}});
    const QString zip = save.filePath(QStringLiteral("CorvelUpdate.zip"));
    UnpackerOverride override(program);
    RecordingProgress bar;
    QVERIFY(!unpackPackage(zip, bar));
    QVERIFY(QFile::exists(zip));
    QCOMPARE(bar.repaints, 0);   // returned without waiting
}

void TestUnpack::unpackerThatCannotStart()
{
    QTemporaryDir tools;
    QTemporaryDir save;
    UnpackerOverride override(writeScript(tools.filePath(QStringLiteral("unar")), "exit 0\n", false));
    writeTree(save.path(), {{"p.zip", "PK"}});
    RecordingProgress bar;
    // The start was attempted, so the wait must end and the archive goes as after any run.
    QVERIFY(unpackPackage(save.filePath(QStringLiteral("p.zip")), bar));
    QVERIFY(!QFile::exists(save.filePath(QStringLiteral("p.zip"))));
}

void TestUnpack::damagedArchiveStillCountsAsUnpacked()
{
    QTemporaryDir save;
    writeTree(save.path(), {{"CorvelUpdate.zip", noise(5000)}});
    RecordingProgress bar;
    QVERIFY(unpackPackage(save.filePath(QStringLiteral("CorvelUpdate.zip")), bar));
    QVERIFY(QDir(save.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

QTEST_GUILESS_MAIN(TestUnpack)
#include "tst_unpack.moc"
