#pragma once

#include <memory>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "optimise/optimiserun.h"
#include "core/dialogs.h"
#include "core/messagetable.h"
#include "core/operationcontext.h"
#include "core/operations/operations.h"
#include "core/operationstate.h"

class QFont;
class QLabel;
class QProcess;
class QProgressBar;
class QPushButton;
class QWidget;
class ProgressView;

namespace Ui {
class MainWindow;
}

// The operations window: one button per operation, the optimise panel, the busy widgets. Each
// operation member hands the window's state to an engine of its subsystem; the members are
// grouped by subsystem in mainwindow_<subsystem>.cpp. The operation state lives in the
// operations core the window runs its operations through.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Operations operations;
    int &currentLanguage = operations.state.currentLanguage;   // 0 Italian, 1 English
    bool &stopRequested = operations.state.stopRequested;
    bool &operationOk = operations.state.operationOk;

    bool busy = false;                   // an operation is running: further operation clicks are ignored
    QFont *bigFont = nullptr;
    QFont *smallFont = nullptr;
    Ui::MainWindow *ui;

    // Frame (window look, texts, busy widgets).
    void initWidgets(QProgressBar *bar, QPushButton *stop);
    void applyLanguage(bool showDescriptions, int language);
    void showProgressWidgets(bool visible, QProgressBar *bar, QLabel *statusLine, QPushButton *stop);
    QString findDeviceDrive();

    // The dialog seam: every box and folder chooser of both windows goes through it.
    Dialogs &dialogs() { return *dialogSeam; }
    void setDialogs(Dialogs *dialogs);   // not owned; nullptr restores the real dialogs

    // An engine's view of this window's state, working with the given busy widgets.
    OperationContext operationContext(ProgressView &progress);

    // File transfer.
    bool copyFileList(const QStringList &files, const QString &destinationRoot, const QString &sourceRoot,
                      QProgressBar *progressBar);
    bool removeFolderTree(const QString &folder, QWidget *widget);
    bool recreateFolder(const QString &folder);
    bool backupToFolder(const QString &deviceRoot, QString destinationFolder);
    bool restoreFromFolder(const QString &backupFolder, const QString &deviceRoot);

    // Update and reinstall.
    QString downloadFile(QProgressBar *bar, const QString &address, bool clearFolder);
    bool updateSystem(bool showEndMessage);
    QString downloadUpdate();
    bool copyUpdateFiles(const QString &packageFolder, const QString &drivePath);
    void reinstallSystem(QProgressBar *bar, QLabel *label, QPushButton *stopButton);
    QString downloadFullSystem(QProgressBar *bar);
    bool eraseDrive(const QString &drivePath);
    bool installSystemFiles(const QString &packageFolder, const QString &drivePath, QProgressBar *bar);

    // Library optimisation.
    void runOptimization();
    void scanLibrary();
    void scanRootFolder();
    QString shortenLongName(int index);
    void deleteUnsupportedFiles();
    void moveImagesToFolder();
    void splitFoldersByTitle();
    void retireFullGroup();
    void addDigitsGroup();
    void updatePlaylistsForSong(const QString &oldSongPath, const QString &newSongPath);
    void updatePlaylistsForFolder(const QString &oldFolderPath, const QString &newFolderPath);
    void defragmentDrive();

    bool deleteSelected = false;
    bool moveSelected = false;
    bool splitSelected = false;
    OptimiseState &optimiseState = operations.optimiseState;   // the scan, title and split state

public slots:
    QString langDbInfo(LANGUAGE_STRING_CODE code);
    void on_pushBtnInstall_clicked();
    void on_pushButtonStop_clicked();
    void on_pushButtonAboutQT_clicked();
    void on_pushBtnENG_clicked();
    void on_pushBtnITA_clicked();
    void on_pushBtnInstallAndRestore_clicked();
    void on_pushBtnInstallAndClean_clicked();
    void on_pushBtnRestore_clicked();
    void on_pushBtnBackup_clicked();
    void on_pushBtnUpdate_clicked();
    void on_pushBtnOptimize_clicked();
    void on_Check_Optimize_clicked();
    void on_Check_Move_clicked();
    void on_Check_Delete_clicked();
    void on_Check_Split_clicked();
    void on_Btn_Opt_Ok_clicked();
    void on_Btn_Opt_Cancel_clicked();
    void on_pushBtnQuit_2_clicked();

private:
    std::unique_ptr<Dialogs> realDialogs;
    Dialogs *dialogSeam = nullptr;
};

// Marks the window busy for the life of an operation's slot; a click while busy is ignored.
class BusyGuard {
public:
    explicit BusyGuard(MainWindow &window) : w(window), entered(!window.busy) { w.busy = true; }
    ~BusyGuard()
    {
        if (entered)
            w.busy = false;
    }
    bool alreadyBusy() const { return !entered; }

private:
    MainWindow &w;
    bool entered;
};
