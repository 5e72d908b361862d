#include "ui/mainwindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFontDatabase>
#include <QIcon>
#include <QProcess>
#include <QProgressBar>

#include "ui/captionfit.h"
#include "ui/screenfit.h"
#include "ui/widgetdialogs.h"
#include "ui/widgetprogress.h"
#include "ui_mainwindow.h"

static void initResources()
{
    // The images and the font live in a static library: make sure the linker keeps them.
    Q_INIT_RESOURCE(corvel3);
}

namespace {

QString appDirPath;

// The family of the display font. The last family found is remembered and given again when a
// later registration reports none (registering the same font twice reports nothing new).
QString loadDisplayFont()
{
    static QString lastFamily;
    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/BebasNeue.otf"));
    if (id >= 0) {
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            lastFamily = families.first();
    }
    return lastFamily;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(new Ui::MainWindow)
{
    initResources();
    currentLanguage = 0;
    realDialogs = std::make_unique<WidgetDialogs>();
    dialogSeam = realDialogs.get();
    operations.frontEnd().dialogs = dialogSeam;
    operations.frontEnd().window = this;
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/imgs/icon.png")));
    initWidgets(ui->progressBar, ui->pushButtonStop);
    setWindowFlags(Qt::Window);
    screenfit::install(this, ui->scrollArea);
    addAboutShortcut(this, [this] { showAbout(this); });
}

MainWindow::~MainWindow()
{
    delete bigFont;
    delete smallFont;
    delete ui;
}

void MainWindow::setDialogs(Dialogs *dialogs)
{
    dialogSeam = dialogs ? dialogs : realDialogs.get();
    operations.setDialogs(dialogSeam);
}

void MainWindow::initWidgets(QProgressBar *bar, QPushButton *stop)
{
    qDebug() << "App path : " << QCoreApplication::applicationDirPath();
    appDirPath = QCoreApplication::applicationDirPath() + QDir::separator();

    applyLanguage(true, currentLanguage);

    bar->hide();
    ui->labelAction->hide();
    ui->pushButtonStop->hide();

    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(QPixmap(QStringLiteral(":/imgs/sfondo_prog.png"))));
    setPalette(pal);

    const QString family = loadDisplayFont();
    if (!bigFont)
        bigFont = new QFont(family, 22, QFont::Normal, false);
    for (QPushButton *b : {ui->pushBtnUpdate, ui->pushBtnRestore, ui->pushBtnInstall, ui->pushBtnBackup,
                           ui->pushBtnInstallAndClean, ui->pushBtnInstallAndRestore, ui->pushBtnOptimize, ui->pushBtnHealth})
        b->setFont(*bigFont);

    bar->setStyleSheet(QStringLiteral(" QProgressBar {border: 2px solid grey;border-radius: 5px; text-align: "
                                      "center;} QProgressBar::chunk {background-color: #6196d1;width: 20px;}"));
    bar->setFont(*bigFont);

    if (!smallFont)
        smallFont = new QFont(family, 16);
    ui->pushBtnITA->setFont(*smallFont);
    ui->pushBtnENG->setFont(*smallFont);
    stop->setFont(*smallFont);

    ui->frame->setStyleSheet(QStringLiteral("QFrame#frame{background-image:url(:/imgs/sfondo_prog_small.png);}"));
    ui->frame->hide();

    const QFont headingFont(family, 16);
    ui->labelDescr1->setFont(headingFont);
    ui->labelDescr2->setFont(headingFont);
    ui->label_2->setFont(headingFont);
}

void MainWindow::applyLanguage(bool showDescriptions, int language)
{
    if (language == 0 || language == 1) {
        // Qt's own dialogs and texts follow the window's language.
        language::install(language);
        const bool it = language == 0;
        ui->labelDescr1->setText(Texts::of(it).translate("MainWindow", "Standard operations: Corvel update and backup / restore of your musical files"));
        ui->labelDescr2->setText(Texts::of(it).translate("MainWindow", "CRITICAL operation: execute only if Corvel does not boot anymore"));
        ui->pushBtnUpdate->setText(Texts::of(it).translate("MainWindow", "UPDATE CORVEL WITH THE LAST RELEASE OF OPERATIVE SYSTEM"));
        ui->pushBtnBackup->setText(Texts::of(it).translate("MainWindow", "SAVE A BACKUP COPY OF YOUR MUSICAL FILES AND PLAYLIST"));
        ui->pushBtnRestore->setText(Texts::of(it).translate("MainWindow", "RESTORE FROM A BACKUP COPY YOUR FILES AND PLAYLIST"));
        ui->pushBtnInstall->setText(Texts::of(it).translate("MainWindow", "REINSTALL OPERATIVE SYSTEM"));
        ui->pushBtnInstallAndClean->setText(Texts::of(it).translate("MainWindow", "REINSTALL OPERATIVE SYSTEM AND DELETE ALL SONGS"));
        ui->pushBtnInstallAndRestore->setText(Texts::of(it).translate("MainWindow", "REINSTALL OPERATIVE SYSTEM AND RESTORE YOUR SONGS"));
        ui->pushBtnOptimize->setText(Texts::of(it).translate("MainWindow", "OPTIMIZE CORVEL"));
        OperationState shown;   // the language being applied, which may not be the window's yet
        shown.currentLanguage = language;
        ui->pushBtnHealth->setText(shown.translate("MainWindow", "LIBRARY HEALTH"));
        ui->label_2->setText(Texts::of(it).translate("MainWindow", "Select the operations you want to start:"));
        ui->Check_Optimize->setText(Texts::of(it).translate("MainWindow", "Full optimization"));
        ui->Check_Delete->setText(Texts::of(it).translate("MainWindow", "Delete the unsupported files"));
        ui->Check_Move->setText(Texts::of(it).translate("MainWindow", "Shift the images"));
        ui->Check_Split->setText(Texts::of(it).translate("MainWindow", "Split the bases into folders"));
        ui->Btn_Opt_Cancel->setText(Texts::of(it).translate("MainWindow", "Cancel"));
        ui->label_help_delete->setText(
            Texts::of(it).translate("MainWindow", "Delete all unsupported files from Corvel3 memory. Supported extensions are: "
                                                  "jpg,png,bmp,mp3,mid,kar,mf3,mf4,mf5\ntxt,cdg,dat,bak."));
        ui->label_help_move->setText(
            Texts::of(it).translate("MainWindow", "Shift every images from Corvel3 memory into the folder \"Images\"."));
        ui->label_help_split->setText(
            Texts::of(it).translate("MainWindow", "The folders that contain more than 1000 songs will be split into folders sorted by the title "
                                                  "of the songs and containing up to 1000 songs."));

        const QString blue = QStringLiteral("* { color: #6196d1 }");
        const QString grey = QStringLiteral("* { color: rgb(51, 51, 51) }");
        ui->pushBtnITA->setStyleSheet(it ? blue : grey);
        ui->pushBtnENG->setStyleSheet(it ? grey : blue);
    }
    ui->labelDescr1->setVisible(showDescriptions);
    ui->labelDescr2->setVisible(showDescriptions);
    applyKeyboardAndNames();
    captions::fitAll(this);
}

void MainWindow::showProgressWidgets(bool visible, QProgressBar *bar, QLabel *statusLine, QPushButton *stop)
{
    WidgetProgress(bar, statusLine, stop).showBusyWidgets(visible);
}

QString MainWindow::langDbInfo(LANGUAGE_STRING_CODE code)
{
    return messageText(currentLanguage, code);
}

void MainWindow::on_pushButtonStop_clicked()
{
    // The flag first: the run goes on off this thread while the box is open.
    operations.requestStop();
    const QString text = operations.state.translate("MainWindow", "Operation Stopped");
    boxes::information(*dialogSeam, this, text, text, QStringLiteral("stop"));
}

void MainWindow::on_pushButtonAboutQT_clicked()
{
    showAbout(this);
}

void MainWindow::on_pushBtnENG_clicked()
{
    currentLanguage = 1;
    applyLanguage(true, 1);
}

void MainWindow::on_pushBtnITA_clicked()
{
    currentLanguage = 0;
    applyLanguage(true, 0);
}
