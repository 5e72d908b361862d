#pragma once

#include <QString>

class QWidget;

// Captions that fit: a button, check box or label whose text would be cut at the window's fixed
// geometry gets a smaller size of the same font, down to a floor, instead. A label's text must
// also stay off every button shown beside it (a panel laid over the page is another layer).
namespace captions {

constexpr qreal kFloorPointSize = 7;

// Fits every caption below root now, and again whenever root or one of them is shown. A caption
// that fits at its own size keeps it (or gets it back after a change of language).
void fitAll(QWidget *root);

// True when the caption of widget is shown whole with its present font; why says what is wrong.
bool fits(const QWidget *widget, QString *why = nullptr);

} // namespace captions
