// The tree a restore chooses its part in: what it hands back for what is checked, and, through
// the window's restore button, that the choice made in it is what comes back.
#include <QtTest>
#include <QtWidgets>

#include "tests/common/drivefixture.h"
#include "tests/common/screenshots.h"
#include "tests/transfer/transfertesting.h"
#include "ui/backuptree.h"
#include "ui/mainwindow.h"
#include "ui/widgetdialogs.h"
#include "ui_mainwindow.h"

namespace {

QModelIndex find(const QAbstractItemModel &model, const QString &path)
{
    QModelIndex at;
    for (const QString &name : path.split('/')) {
        const QModelIndexList found = model.match(model.index(0, 0, at), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        if (found.isEmpty())
            return QModelIndex();
        at = found.first();
    }
    return at;
}

void setChecked(QAbstractItemModel &model, const QString &path, bool checked)
{
    const QModelIndex at = find(model, path);
    QVERIFY2(at.isValid(), qPrintable(path));
    QVERIFY(model.setData(at, checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole));
}

// Scripted boxes, the real tree.
class TreeDialogs : public ScriptedDialogs {
public:
    bool choosePart(const PartRequest &request, QStringList *parts) override { return WidgetDialogs().choosePart(request, parts); }
};

} // namespace

class TestBackupTree : public QObject {
    Q_OBJECT

    QTemporaryDir data;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(data.path())); }   // the operation log

    // Unchecked (then checked again) in order; the parts handed back and a folder's own state.
    void parts_data()
    {
        QTest::addColumn<QStringList>("clicks");   // "-path" unchecks, "+path" checks
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("rock");         // Rock's box: "checked", "partly", "unchecked"
        QTest::newRow("all: the whole backup") << QStringList() << QStringList() << "checked";
        QTest::newRow("Rock2 out: Rock stays whole") << QStringList{"-Rock2"} << QStringList{"Pop", "Rock", "top.mid"} << "checked";
        QTest::newRow("one song out") << QStringList{"-Rock/a.mid"} << QStringList{"Pop", "Rock/Live", "Rock2", "top.mid"} << "partly";
        QTest::newRow("a folder out, a song of it back") << QStringList{"-Rock", "+Rock/Live/b.mid"}
                                                         << QStringList{"Pop", "Rock/Live", "Rock2", "top.mid"} << "partly";
        QTest::newRow("a partly checked folder checked whole") << QStringList{"-Rock/Live/b.mid", "-Pop", "+Rock"}
                                                                << QStringList{"Rock", "Rock2", "top.mid"} << "checked";
        QTest::newRow("everything out") << QStringList{"-Pop", "-Rock", "-Rock2", "-top.mid"} << QStringList() << "unchecked";
    }
    void parts()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QStringList, parts);
        QFETCH(QString, rock);
        BackupTreeModel model({"Rock/a.mid", "Rock/Live/b.mid", "Rock2/c.mid", "Pop/d.mp3", "top.mid"});
        QCOMPARE(model.rowCount(), 4);   // Pop, Rock, Rock2, top.mid
        for (const QString &click : clicks)
            setChecked(model, click.mid(1), click.startsWith('+'));
        QCOMPARE(model.chosenParts(), parts);
        const QStringList states{"unchecked", "partly", "checked"};
        QCOMPARE(states.value(find(model, "Rock").data(Qt::CheckStateRole).toInt()), rock);
        QCOMPARE(model.checkedFiles() > 0, rock != "unchecked");
    }

    // The window's restore: the tree opens from the worker's run, Pop is unchecked, OK: only Rock
    // comes back; Cancel writes nothing.
    void chosenInTheWindow_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void chosenInTheWindow()
    {
        QFETCH(bool, accept);
        DriveFixture drive;
        drive.addSystemFiles();
        drive.writeMidi("Rock/a.mid", "A");
        drive.writeMp3("Pop/b.mp3", "B");
        const auto saved = treeContents(drive.root());
        QTemporaryDir pc;
        EngineRig saving(1, {pc.path(), "Ok"});
        QCOMPARE(saving.operations.backup(), Operations::Result::Done);
        QDir(drive.path("Rock")).removeRecursively();
        QDir(drive.path("Pop")).removeRecursively();
        auto expected = treeContents(drive.root());
        if (accept)
            expected.insert("Rock/a.mid", saved.value("Rock/a.mid"));

        MainWindow window;
        TreeDialogs dialogs;
        window.setDialogs(&dialogs);
        window.currentLanguage = 1;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dialogs.answer({pc.path(), "Ok", "Ok"});
        bool seen = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *open = QApplication::activeModalWidget();
            if (!open || open->objectName() != "backupTree")
                return;
            seen = true;
            QTreeView *tree = open->findChild<QTreeView *>();
            setChecked(*tree->model(), "Pop", false);
            saveScreenshot(open, "en-restore-tree");
            open->findChild<QDialogButtonBox *>()->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        poll.start(20);
        QTest::mouseClick(window.ui->pushBtnRestore, Qt::LeftButton);
        QVERIFY(seen);
        QVERIFY2(dialogs.failures.isEmpty(), qPrintable(dialogs.failures.join('\n')));
        QCOMPARE(treeContents(drive.root()), expected);
    }
};

QTEST_MAIN(TestBackupTree)
#include "tst_backuptree.moc"
