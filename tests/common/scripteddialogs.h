#pragma once

#include <functional>
#include <QPair>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/dialogs.h"

// A Dialogs implementation for tests: records every prompt and answers from a queue. A prompt
// with nothing queued is recorded as unexpected and answered with its default button (or
// cancelled, for a folder chooser); failures() then names it.
class ScriptedDialogs : public Dialogs {
public:
    struct Prompt {
        QString title;              // the caption, for a folder chooser
        QString text;
        BoxIcon icon = BoxIcon::NoIcon;
        QVector<BoxButton> buttons;
        int defaultButton = 0;
        QObject *parent = nullptr;
        QString answer;             // the caption (or folder) given back
        QString code;               // the box's language-independent name, "" when it has none

        QStringList captions() const;   // captions, standard ones as "<Yes>", "<No>", "<Yes to All>", ...
    };

    // Answers for the next prompts, in order. A message box answer is a button caption (as the
    // box shows it, or "<Yes>" style for a standard caption), "#n" for the n-th button, "Enter"
    // for the default one or "Escape" for the one closing the box takes; a folder chooser answer
    // is the folder ("" cancels).
    void answer(const QString &reply) { replies.enqueue(reply); }
    void answer(const QStringList &replies) { this->replies.append(replies); }

    // The next choice of parts of a backup: the parts chosen, or cancel. Without one queued the
    // whole backup is taken, as by a front end without a tree.
    void answerParts(const QStringList &parts) { partReplies.enqueue({true, parts}); }
    void cancelParts() { partReplies.enqueue({false, {}}); }

    int showMessage(const MessageBoxRequest &request) override;
    bool choosePart(const PartRequest &request, QStringList *parts) override;
    QVector<PartRequest> partRequests;
    QString chooseFolder(const FolderRequest &request) override;
    // With listChoices, a choice is a prompt whose captions are its items, answered by an item or
    // "#n" ("" cancels); without, the fallback box is asked, as by a front end that shows no list.
    int chooseItem(const ChoiceRequest &request) override;
    bool listChoices = false;
    void aboutToolkit(QObject *parent) override;   // recorded as a prompt titled "About Qt", no answer needed

    QVector<Prompt> prompts;
    QStringList failures;           // unexpected prompts and answers that matched no button
    QStringList titles() const;

    // Called once per prompt before it is answered (e.g. to press Stop while a box is open).
    std::function<void(const Prompt &)> onPrompt;

private:
    QQueue<QString> replies;
    QQueue<QPair<bool, QStringList>> partReplies;
};
