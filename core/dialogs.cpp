#include "core/dialogs.h"

int Dialogs::chooseItem(const ChoiceRequest &request)
{
    return showMessage(request.fallback) == request.fallback.proceedAnswer() ? request.defaultItem : -1;
}

namespace boxes {

static MessageBoxRequest singleOk(BoxIcon icon, QObject *parent, const QString &title, const QString &text,
                                  const QString &code)
{
    MessageBoxRequest r;
    r.code = code;
    r.kind = icon == BoxIcon::Critical ? QuestionKind::Error : QuestionKind::Information;
    r.title = title;
    r.text = text;
    r.icon = icon;
    r.buttons = {BoxButton{BoxRole::Ok, QStringLiteral("Ok")}};
    r.parent = parent;
    return r;
}

void information(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text, const QString &code)
{
    dialogs.showMessage(singleOk(BoxIcon::Information, parent, title, text, code));
}

void critical(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text, const QString &code)
{
    dialogs.showMessage(singleOk(BoxIcon::Critical, parent, title, text, code));
}

bool okOrNo(Dialogs &dialogs, QObject *parent, const QString &title, const QString &text, QuestionKind kind)
{
    MessageBoxRequest r;
    r.kind = kind;
    r.safeButton = 1;
    r.title = title;
    r.text = text;
    r.icon = BoxIcon::Question;
    r.buttons = {BoxButton{BoxRole::Ok, QStringLiteral("Ok")}, BoxButton{BoxRole::No, QStringLiteral("No")}};
    r.defaultButton = 0;
    r.parent = parent;
    return dialogs.showMessage(r) == 0;
}

} // namespace boxes
