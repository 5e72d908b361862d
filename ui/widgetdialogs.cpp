#include "ui/widgetdialogs.h"

#include "ui/backuptree.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::StandardButton standardButton(BoxRole role)
{
    switch (role) {
    case BoxRole::Ok: return QMessageBox::Ok;
    case BoxRole::Yes: return QMessageBox::Yes;
    case BoxRole::No: return QMessageBox::No;
    case BoxRole::YesToAll: return QMessageBox::YesToAll;
    case BoxRole::Cancel: return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::NoIcon: return QMessageBox::NoIcon;
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Question: return QMessageBox::Question;
    case BoxIcon::Warning: return QMessageBox::Warning;
    case BoxIcon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int WidgetDialogs::showMessage(const MessageBoxRequest &request)
{
    QMessageBox box(boxIcon(request.icon), request.title, request.text, QMessageBox::NoButton,
                    qobject_cast<QWidget *>(request.parent));
    QVector<QPushButton *> buttons;
    for (const BoxButton &b : request.buttons) {
        QPushButton *button = box.addButton(standardButton(b.role));
        if (!b.caption.isEmpty())
            button->setText(b.caption);
        buttons.append(button);
    }
    if (request.defaultButton >= 0 && request.defaultButton < buttons.size())
        box.setDefaultButton(buttons[request.defaultButton]);
    if (request.escapeButton >= 0 && request.escapeButton < buttons.size())
        box.setEscapeButton(buttons[request.escapeButton]);
    box.exec();
    const int chosen = buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    if (chosen >= 0)
        return chosen;
    // Closed without a button: the escape button if there is one, else the last.
    if (request.escapeButton >= 0)
        return request.escapeButton;
    return buttons.isEmpty() ? 0 : int(buttons.size()) - 1;
}

QString WidgetDialogs::chooseFolder(const FolderRequest &request)
{
    return QFileDialog::getExistingDirectory(qobject_cast<QWidget *>(request.parent), request.caption,
                                             request.startFolder,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

void WidgetDialogs::aboutToolkit(QObject *parent)
{
    QMessageBox::aboutQt(qobject_cast<QWidget *>(parent));
}

int WidgetDialogs::chooseItem(const ChoiceRequest &request)
{
    bool chosen = false;
    const QString item = QInputDialog::getItem(qobject_cast<QWidget *>(request.parent), request.title, request.text,
                                               request.items, request.defaultItem, false, &chosen);
    return chosen ? int(request.items.indexOf(item)) : -1;
}

bool WidgetDialogs::choosePart(const PartRequest &request, QStringList *parts)
{
    return chooseBackupParts(request, parts);
}
