// Where the language file is kept: beside the program, or in the user's folder when the program's
// folder cannot be written.
#include <QtTest>

#include "core/languagefile.h"

class LanguageFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void besideTheProgramOrInTheUsersFolder()
    {
        QTemporaryDir app;
        const QString dir = app.path() + "/";
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/Corvel.ini";
        QFile::remove(user);
        QCOMPARE(languagefile::writePath(dir), dir + "Corvel.ini");
        QCOMPARE(languagefile::readPath(dir), dir + "Corvel.ini");

        // A folder nobody may write, not even root.
        if (QProcess::execute("chattr", {"+i", app.path()}) != 0)
            QSKIP("chattr +i is not available here");
        QCOMPARE(languagefile::readPath(dir), dir + "Corvel.ini");   // nothing chosen yet
        const QString written = languagefile::writePath(dir);
        QCOMPARE(written, user);
        QFile file(written);
        const bool opened = file.open(QIODevice::WriteOnly);
        file.close();
        QCOMPARE(languagefile::readPath(dir), user);
        QProcess::execute("chattr", {"-i", app.path()});
        QFile::remove(user);
        QVERIFY(opened);
    }
};

QTEST_GUILESS_MAIN(LanguageFileTest)
#include "tst_languagefile.moc"
