#include <QApplication>

#include "app/mainwindow_boot.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int result = 0;
    {
        MainWindow_boot window(nullptr);
        window.setWindowFlags(Qt::Window);
        window.show();
        window.check_language();
        result = app.exec();
    }
    return result;
}
