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
