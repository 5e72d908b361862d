#pragma once

#include <QMainWindow>
#include <QString>

class MainWindow;
class QTimer;

namespace Ui {
class MainWindow_boot;
}

// The start-up window: language choice, waiting for the player, the system-file check and its
// repair, then the hand-over to the operations window.
class MainWindow_boot : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow_boot(QWidget *parent = nullptr);
    ~MainWindow_boot() override;

    QString appDirPath;              // application folder + separator; the language file lives there
    Ui::MainWindow_boot *ui;
    MainWindow *mainWindow;          // the operations window, hidden until the hand-over

    // State of the start-up sequence (one start-up window per process).
    bool bootStopRequested = false;
    QTimer *connectionTimer = nullptr;
    QString devicePath;
    QString languageFilePath;
    QString yesButtonText = QStringLiteral("Yes");
    int checksStarted = 0;           // the check runs once per start
    bool checking = false;           // the system-file check is running
    bool repairing = false;          // the repair is running
    bool closeRequested = false;     // the window was closed during the check: the program ends

public slots:
    void check_language();

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void set_visible(bool value);
    void create_language_file(QString language);
    void check_connection();
    void check_files();
    void on_Stop_Button_clicked();
    void on_pushButtonAboutQT_clicked();
    void stopped_called();
    void on_Push_Button_clicked();
    void timer_check();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void repairSystem();
    void showMessageLabels(const QString &title, const QString &text);
    void handOver();

    friend class BootWindowTest;
};
