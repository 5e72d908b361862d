// Playlist line rules: a line follows a move only when its whole path is the moved song's, or
// lies inside the renamed group; several rules in one pass give what one pass per rule gives.
#include <QtTest>

#include "optimise/playlists.h"

using playlists::LineRule;

class TestPlaylists : public QObject {
    Q_OBJECT

private slots:
    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        // The rules of lineRules(): root songs x.mid, q^1.mid, été.mid moved, then group "a" renamed.
        // x.mid moves into "a", which is then renamed: its line follows both.
        const QByteArray moved = "\\sdmemory\\Abba - Azzurro\\x.mid^0^32767\r\n";
        QTest::newRow("the song's line drops its fields") << QByteArray("\\sdmemory\\x.mid^5^900\r\n") << moved;
        QTest::newRow("any case, prefix included") << QByteArray("\\SDMEMORY\\X.MID^5^900\r\n") << moved;
        QTest::newRow("a last line without its end gets one") << QByteArray("\\sdmemory\\x.mid") << moved;
        QTest::newRow("x.midi never follows x.mid") << QByteArray("\\sdmemory\\x.midi^1^2\r\n")
                                                    << QByteArray("\\sdmemory\\x.midi^1^2\r\n");
        QTest::newRow("a song of the same name in another folder stays")
            << QByteArray("/sdmemory/Rock/x.mid^1^2\r\n") << QByteArray("\\sdmemory\\Rock\\x.mid^1^2\r\n");
        QTest::newRow("a line without the device prefix stays") << QByteArray("x.mid^1\n") << QByteArray("x.mid^1\n");
        QTest::newRow("the group's own lines keep their fields, in any case")
            << QByteArray("\\sdmemory\\A\\y.kar^5^900\n") << QByteArray("\\sdmemory\\Abba - Azzurro\\y.kar^5^900\n");
        QTest::newRow("a group of the same name elsewhere stays")
            << QByteArray("\\sdmemory\\Rock\\a\\y.kar^5\r\n") << QByteArray("\\sdmemory\\Rock\\a\\y.kar^5\r\n");
        QTest::newRow("a folder merely starting alike stays")
            << QByteArray("\\sdmemory\\ab\\y.kar^5\r\n") << QByteArray("\\sdmemory\\ab\\y.kar^5\r\n");
        QTest::newRow("a file name holding ^ is matched whole")
            << QByteArray("\\sdmemory\\q^1.mid^7\r\n") << QByteArray("\\sdmemory\\w\\q^1.mid^0^32767\r\n");
        QTest::newRow("an accented name in another case")
            << QByteArray("\\sdmemory\\ÉTÉ.mid^7\r\n") << QByteArray("\\sdmemory\\e\\été.mid^0^32767\r\n");
    }
    void lineRules()
    {
        QFETCH(QByteArray, text);
        const QVector<LineRule> rules{{LineRule::Song, "x.mid", "a/x.mid"},
                                      {LineRule::Song, "q^1.mid", "w/q^1.mid"},
                                      {LineRule::Song, "été.mid", "e/été.mid"},
                                      {LineRule::Folder, "a", "Abba - Azzurro"}};
        const QByteArray once = playlists::rewriteText(text, rules);
        QTEST(once, "expected");
        QByteArray stepwise = text;
        for (const LineRule &rule : rules)
            stepwise = playlists::rewriteText(stepwise, rule);
        QCOMPARE(once, stepwise);
    }
};

QTEST_GUILESS_MAIN(TestPlaylists)
#include "tst_playlists.moc"
