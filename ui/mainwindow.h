#pragma once

#include <functional>
#include <memory>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "core/dialogs.h"
#include "core/messagetable.h"
#include "operations/operations.h"

class HealthPanel;
class QFont;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace Ui {
class MainWindow;
}

// The operations window: one button per operation, the optimise panel, the busy widgets. Each
// button's slot hands its busy widgets to the operations runner, which runs the operation off
// this thread; the window keeps repainting and Stop answers meanwhile.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Operations operations;
    int &currentLanguage = operations.state.currentLanguage;   // 0 Italian, 1 English

    bool busy = false;                   // an operation is running: further operation clicks are ignored
    QFont *bigFont = nullptr;
    QFont *smallFont = nullptr;
    Ui::MainWindow *ui;

    // Frame (window look, texts, busy widgets).
    void initWidgets(QProgressBar *bar, QPushButton *stop);
    void applyLanguage(bool showDescriptions, int language);
    void showProgressWidgets(bool visible, QProgressBar *bar, QLabel *statusLine, QPushButton *stop);

    // The dialog seam: every box and folder chooser of both windows goes through it.
    Dialogs &dialogs() { return *dialogSeam; }
    void setDialogs(Dialogs *dialogs);   // not owned; nullptr restores the real dialogs

    // The About box (name, version, licence, where the operation log is, and the toolkit's own
    // About box beside it), over parent; F1 in window shows it too.
    void showAbout(QWidget *parent);
    void addAboutShortcut(QWidget *window, const std::function<void()> &show);

    // The plain reinstall with the given busy widgets (the start-up window's repair).
    Operations::Result repairWith(QProgressBar *bar, QLabel *label, QPushButton *stopButton);

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
    void on_pushBtnHealth_clicked();

private:
    void runWithBusyWidgets(const std::function<void(ProgressView &)> &call);
    void showPanel(bool visible);
    void applyKeyboardAndNames();
    // The health panel: a check (fixGroups 0) or a group's fix through the runner, then the report.
    void runHealth(int fixGroups);
    void showHealthPanel(bool visible);

public:
    HealthPanel *healthPanel = nullptr;

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
