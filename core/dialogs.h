#pragma once

#include <QString>
#include <QStringList>
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

// What a box means, so a front end without boxes (the command line) answers by meaning rather
// than by caption. The windows show the same box whatever its kind.
enum class QuestionKind {
    Information,          // a single "Ok": nothing to decide
    Error,                // a single "Ok" after a failure
    Confirm,              // go on with a step that loses nothing
    ConfirmDeletion,      // go on with a step that deletes or erases the user's files
    Overwrite,            // replace a file that already exists
    ContinueAfterError,   // go on after a step failed
};

struct MessageBoxRequest {
    QuestionKind kind = QuestionKind::Information;
    // What the box says, in words no translation changes ("device.notFound", "backup.done"), for
    // front ends that report events to programs; "" for a box that has no name of its own.
    QString code;
    QString title;
    QString text;
    BoxIcon icon = BoxIcon::Information;
    QVector<BoxButton> buttons;   // in the order they are added
    int defaultButton = 0;        // index into buttons
    int escapeButton = -1;        // index into buttons, -1: the toolkit decides
    int safeButton = -1;          // the answer that loses nothing (-1: escape, else default)
    int proceedButton = -1;       // the answer that lets the operation go on (-1: default)
    QObject *parent = nullptr;    // null: no parent window

    int safeAnswer() const { return safeButton >= 0 ? safeButton : escapeButton >= 0 ? escapeButton : defaultButton; }
    int proceedAnswer() const { return proceedButton >= 0 ? proceedButton : defaultButton; }
};

// Choosing a folder is a question of its own kind; cancelling is its safe answer.
struct FolderRequest {
    QString caption;
    QString startFolder;
    QObject *parent = nullptr;
};

// Picking one of several items (the backups a folder holds). A front end that shows no list asks
// the fallback box instead: its proceed answer takes defaultItem, any other cancels.
struct ChoiceRequest {
    QString code;              // as a box's code
    QString title;
    QString text;
    QStringList items;         // one line each
    int defaultItem = 0;
    MessageBoxRequest fallback;
    QObject *parent = nullptr;
};

// Choosing the part of a backup to restore, among every file it holds (paths relative to the
// backup, "/" separators). The window shows them as a tree with check boxes.
struct PartRequest {
    QString title;
    QString text;
    QStringList files;
    QString okCaption;
    QString cancelCaption;
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
    // Returns the index of the chosen item, or -1 when cancelled. By default the fallback box.
    virtual int chooseItem(const ChoiceRequest &request);

    // False when cancelled. *parts: the chosen folders (each taking everything below it) and
    // files; empty for the whole backup. Front ends without a tree take the whole backup.
    virtual bool choosePart(const PartRequest &request, QStringList *parts)
    {
        Q_UNUSED(request)
        parts->clear();
        return true;
    }
};

// The boxes that recur everywhere.
namespace boxes {
// Information box with the single button "Ok"; returns when closed.
void information(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text,
                 const QString &code = QString());
// Critical box with the single button "Ok".
void critical(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text,
              const QString &code = QString());
// Question with the buttons "Ok" (default) and "No"; true for "Ok". "No" is the safe answer.
bool okOrNo(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text,
            QuestionKind kind = QuestionKind::Confirm);
}
