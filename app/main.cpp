#include <QApplication>
#include <QTimer>

#include "app/mainwindow_boot.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // One name for the log, the cache and the language file, whatever the program file is called.
    QCoreApplication::setApplicationName(QStringLiteral("corvel3"));
    int result = 0;
    {
        MainWindow_boot window(nullptr);
        window.setWindowFlags(Qt::Window);
        window.show();
        // The check and the repair run inside the event loop, so that closing the window (which
        // quits the loop) always ends the program.
        QTimer::singleShot(0, &window, &MainWindow_boot::check_language);
        result = app.exec();
    }
    return result;
}
