#include "tests/common/scripteddialogs.h"

#include <QMap>

namespace {
QString standardCaption(BoxRole role)
{
    static const QMap<BoxRole, QString> captions{{BoxRole::Ok, "<Ok>"}, {BoxRole::Yes, "<Yes>"}, {BoxRole::No, "<No>"},
        {BoxRole::YesToAll, "<Yes to All>"}, {BoxRole::Cancel, "<Cancel>"}};
    return captions.value(role);
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
    Prompt p{request.title, request.text, request.icon, request.buttons, request.defaultButton, request.parent, {}, request.code};
    if (onPrompt)
        onPrompt(p);
    int chosen = request.defaultButton;
    if (replies.isEmpty()) {
        failures << QStringLiteral("unexpected box \"%1\": \"%2\"").arg(request.title, request.text);
    } else {
        const QString reply = replies.dequeue();
        const QStringList captions = p.captions();
        if (reply == QLatin1String("Enter") && !captions.contains(reply)) {
            // the default button, as a key press takes it
        } else if (reply == QLatin1String("Escape") && !captions.contains(reply)) {
            chosen = request.escapeButton;
        } else if (reply.startsWith(QLatin1Char('#')) && reply.size() > 1)
            chosen = reply.mid(1).toInt();
        else if (captions.contains(reply))
            chosen = captions.indexOf(reply);
        else
            failures << QStringLiteral("reply \"%1\" matches no button of \"%2\" (%3)")
                            .arg(reply, request.title, captions.join(QLatin1Char('|')));
    }
    if (chosen < 0 || chosen >= request.buttons.size())
        chosen = 0;
    p.answer = p.captions().value(chosen);
    prompts.append(p);
    return chosen;
}

QString ScriptedDialogs::chooseFolder(const FolderRequest &request)
{
    Prompt p{request.caption, {}, BoxIcon::NoIcon, {}, 0, request.parent, {}};
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
    prompts.append(Prompt{QStringLiteral("About Qt"), {}, BoxIcon::NoIcon, {}, 0, parent, {}});
}

int ScriptedDialogs::chooseItem(const ChoiceRequest &request)
{
    if (!listChoices)
        return Dialogs::chooseItem(request);
    Prompt p{request.title, request.text, BoxIcon::NoIcon, {}, request.defaultItem, request.parent, {}, request.code};
    for (const QString &item : request.items)
        p.buttons.append(BoxButton{BoxRole::Ok, item});
    if (onPrompt)
        onPrompt(p);
    int chosen = -1;
    if (replies.isEmpty()) {
        failures << QStringLiteral("unexpected choice \"%1\"").arg(request.title);
    } else {
        const QString reply = replies.dequeue();
        chosen = reply.startsWith(QLatin1Char('#')) ? reply.mid(1).toInt() : request.items.indexOf(reply);
        if (chosen < -1 || chosen >= request.items.size() || (chosen < 0 && !reply.isEmpty())) {
            failures << QStringLiteral("reply \"%1\" matches no item of \"%2\"").arg(reply, request.title);
            chosen = -1;
        }
    }
    p.answer = request.items.value(chosen);
    prompts.append(p);
    return chosen;
}

bool ScriptedDialogs::choosePart(const PartRequest &request, QStringList *parts)
{
    partRequests.append(request);
    const QPair<bool, QStringList> reply = partReplies.isEmpty() ? qMakePair(true, QStringList()) : partReplies.dequeue();
    *parts = reply.second;
    return reply.first;
}
