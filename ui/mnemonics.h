#pragma once

#include <QList>
#include <QString>

class QAbstractButton;

// Keyboard mnemonics (Alt+letter) for buttons whose captions change with the language: each gets
// the first letter of one of its words that no other button of its window uses, else any free
// letter of its caption, else none. The caption shows the same text, that letter underlined.
namespace mnemonics {

// Gives buttons, in this order of preference, letters unique in their window.
void assign(const QList<QAbstractButton *> &buttons);

// The caption without its mnemonic marker ("&&" stays a plain "&").
QString plain(const QString &caption);

// The mnemonic letter of caption, upper case, or a null QChar.
QChar letterOf(const QString &caption);

} // namespace mnemonics
