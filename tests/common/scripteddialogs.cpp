#include "tests/common/scripteddialogs.h"

namespace {
QString standardCaption(BoxRole role)
{
    switch (role) {
    case BoxRole::Ok: return QStringLiteral("<Ok>");
    case BoxRole::Yes: return QStringLiteral("<Yes>");
    case BoxRole::No: return QStringLiteral("<No>");
    case BoxRole::YesToAll: return QStringLiteral("<Yes to All>");
    case BoxRole::Cancel: return QStringLiteral("<Cancel>");
    }
    return QString();
}
} // namespace

QStringList ScriptedDialogs::Prompt::captions() const
{
    QStringList list;
    for (const BoxButton &b : buttons)
        list << (b.caption.isEmpty() ? standardCaption(b.role) : b.caption);
    return list;
}

QStringList ScriptedDialogs::titles() const
{
    QStringList list;
    for (const Prompt &p : prompts)
        list << p.title;
    return list;
}

int ScriptedDialogs::showMessage(const MessageBoxRequest &request)
{
    Prompt p{request.title, request.text, request.icon, request.buttons, request.defaultButton, request.parent, {}};
    if (onPrompt)
        onPrompt(p);
    int chosen = request.defaultButton;
    if (replies.isEmpty()) {
        failures << QStringLiteral("unexpected box \"%1\": \"%2\"").arg(request.title, request.text);
    } else {
        const QString reply = replies.dequeue();
        const QStringList captions = p.captions();
        if (reply.startsWith(QLatin1Char('#')) && reply.size() > 1) {
            chosen = reply.mid(1).toInt();
        } else if (captions.contains(reply)) {
            chosen = captions.indexOf(reply);
        } else {
            failures << QStringLiteral("reply \"%1\" matches no button of \"%2\" (%3)")
                            .arg(reply, request.title, captions.join(QLatin1Char('|')));
        }
    }
    if (chosen < 0 || chosen >= request.buttons.size())
        chosen = 0;
    p.answer = p.captions().value(chosen);
    prompts.append(p);
    return chosen;
}

QString ScriptedDialogs::chooseFolder(const FolderRequest &request)
{
    Prompt p;
    p.title = request.caption;
    p.parent = request.parent;
    if (onPrompt)
        onPrompt(p);
    if (replies.isEmpty())
        failures << QStringLiteral("unexpected folder chooser \"%1\"").arg(request.caption);
    else
        p.answer = replies.dequeue();
    prompts.append(p);
    return p.answer;
}

void ScriptedDialogs::aboutToolkit(QObject *parent)
{
    Prompt p;
    p.title = QStringLiteral("About Qt");
    p.parent = parent;
    prompts.append(p);
}
