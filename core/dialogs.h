#pragma once

#include <QString>
#include <QVector>

class QObject;

// One seam for every modal dialog. The real implementation builds QMessageBox / QFileDialog;
// tests install a scripted one that records each prompt and answers from a queue.

enum class BoxIcon { NoIcon, Information, Question, Warning, Critical };
enum class BoxRole { Ok, Yes, No, YesToAll, Cancel };

struct BoxButton {
    BoxRole role = BoxRole::Ok;
    QString caption;   // empty: the toolkit's standard caption for the role
};

struct MessageBoxRequest {
    QString title;
    QString text;
    BoxIcon icon = BoxIcon::Information;
    QVector<BoxButton> buttons;   // in the order they are added
    int defaultButton = 0;        // index into buttons
    int escapeButton = -1;        // index into buttons, -1: the toolkit decides
    QObject *parent = nullptr;    // null: no parent window
};

struct FolderRequest {
    QString caption;
    QString startFolder;
    QObject *parent = nullptr;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Returns the index of the chosen button.
    virtual int showMessage(const MessageBoxRequest &request) = 0;
    // Returns the chosen folder, or "" when cancelled. Only folders shown, links not resolved.
    virtual QString chooseFolder(const FolderRequest &request) = 0;
    // The toolkit's own About box.
    virtual void aboutToolkit(QObject *parent) = 0;
};

// The boxes that recur everywhere.
namespace boxes {
// Information box with the single button "Ok"; returns when closed.
void information(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text);
// Critical box with the single button "Ok".
void critical(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text);
// Question with the buttons "Ok" (default) and "No"; true for "Ok".
bool okOrNo(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text);
}
