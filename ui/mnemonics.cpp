#include "ui/mnemonics.h"

#include <QAbstractButton>
#include <QSet>

namespace mnemonics {

QString plain(const QString &caption)
{
    QString out;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

QChar letterOf(const QString &caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toUpper();
        ++i;
    }
    return QChar();
}

namespace {

// Where in text the mnemonic goes: a word's first letter first, then any letter; -1 for none.
int pickPosition(const QString &text, const QSet<QChar> &taken)
{
    for (int i = 0; i < text.size(); ++i)
        if (text[i].isLetter() && (i == 0 || !text[i - 1].isLetterOrNumber()) && !taken.contains(text[i].toUpper()))
            return i;
    for (int i = 0; i < text.size(); ++i)
        if (text[i].isLetter() && !taken.contains(text[i].toUpper()))
            return i;
    return -1;
}

// A literal "&" in a caption is written "&&".
QString escaped(const QString &text)
{
    QString out = text;
    return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void assign(const QList<QAbstractButton *> &buttons)
{
    if (buttons.isEmpty())
        return;
    // Letters held by the window's other buttons stay theirs.
    QSet<QChar> taken;
    for (const QAbstractButton *b : buttons.first()->window()->findChildren<QAbstractButton *>())
        if (!buttons.contains(const_cast<QAbstractButton *>(b)) && !letterOf(b->text()).isNull())
            taken.insert(letterOf(b->text()));
    for (QAbstractButton *b : buttons) {
        const QString text = plain(b->text());
        const int at = pickPosition(text, taken);
        QString caption = escaped(text);
        if (at >= 0) {
            taken.insert(text[at].toUpper());
            caption = escaped(text.left(at)) + QLatin1Char('&') + escaped(text.mid(at));
        }
        if (caption != b->text())
            b->setText(caption);
    }
}

} // namespace mnemonics
