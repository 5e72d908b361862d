// Playlist rewriting: the line rules, and the files rewritten on a player drive.
#include <QDir>
#include <QtTest>

#include "optimise/playlists.h"
#include "tests/common/drivefixture.h"

using playlists::LineRule;

class TestPlaylists : public QObject {
    Q_OBJECT

private slots:
    void lineRules_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray moved = "\\sdmemory\\Songs\\a\\x.mid^0^32767\r\n";
        QTest::newRow("fields dropped") << int(LineRule::Song) << QByteArray("\\sdmemory\\Songs\\x.mid^5^900\r\n") << moved;
        QTest::newRow("other case") << int(LineRule::Song) << QByteArray("\\sdmemory\\SONGS\\X.MID^5^900\r\n") << moved;
        QTest::newRow(".midi holds .mid") << int(LineRule::Song) << QByteArray("\\sdmemory\\Songs\\x.midi^1^2") << moved;
        QTest::newRow("no match, slashes turned") << int(LineRule::Song) << QByteArray("/sdmemory/Other/x.mid^1^2\r\n")
                                                  << QByteArray("\\sdmemory\\Other\\x.mid^1^2\r\n");
        QTest::newRow("folder keeps the fields") << int(LineRule::Folder)
                                                 << QByteArray("\\sdmemory\\Songs\\x.mid\\y.mid^5^900\n")
                                                 << QByteArray("\\sdmemory\\Songs\\a\\x.mid\\y.mid^5^900\n");
    }
    void lineRules()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, text);
        const LineRule rule{LineRule::Kind(kind), "Songs/x.mid", "Songs/a/x.mid"};
        QTEST(playlists::rewriteText(text, rule), "expected");
    }
};

QTEST_GUILESS_MAIN(TestPlaylists)
#include "tst_playlists.moc"
