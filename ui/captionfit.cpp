#include "ui/captionfit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace captions {

namespace {

const char kOwnSize[] = "captionOwnPointSize";
const char kFittedSize[] = "captionFittedPointSize";

QString captionOf(const QWidget *w)
{
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    return QString();
}

// Where the widget draws its caption, in its own coordinates.
QRect captionArea(const QWidget *w)
{
    if (auto *b = qobject_cast<const QAbstractButton *>(w)) {
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        const bool check = qobject_cast<const QCheckBox *>(w) != nullptr;
        return b->style()->subElementRect(check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents,
                                          &option, b);
    }
    auto *l = static_cast<const QLabel *>(w);
    const int m = l->margin();
    return l->contentsRect().adjusted(m, m, -m, -m);
}

// The rectangle the text takes with font, or a null rectangle when it does not fit its area.
QRect textRect(const QWidget *w, const QFont &font, QString *why)
{
    const QString text = captionOf(w);
    const QRect area = captionArea(w);
    const QFontMetrics fm(font);
    QRect used;
    if (auto *l = qobject_cast<const QLabel *>(w)) {
        const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        used = fm.boundingRect(area, flags, text);
    } else {
        used = fm.boundingRect(area, Qt::AlignCenter | Qt::TextShowMnemonic, text);
    }
    if (used.width() > area.width() || used.height() > area.height()) {
        if (why)
            *why = QStringLiteral("%1: text %2x%3 in %4x%5").arg(w->objectName()).arg(used.width())
                       .arg(used.height()).arg(area.width()).arg(area.height());
        return QRect();
    }
    return used;
}

// The panel a widget lies on: its nearest framed ancestor (a scroll area, a panel laid over it).
const QWidget *layerOf(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QFrame *>(p) && !qobject_cast<const QLabel *>(p))
            return p;
    return w->window();
}

bool fitsWith(const QWidget *w, const QFont &font, QString *why)
{
    if (captionOf(w).isEmpty())
        return true;
    const QRect used = textRect(w, font, why);
    if (used.isNull())
        return false;
    if (!qobject_cast<const QLabel *>(w))
        return true;
    const QRect onWindow(w->mapTo(w->window(), used.topLeft()), used.size());
    for (const QAbstractButton *b : w->window()->findChildren<QAbstractButton *>()) {
        if (!b->isVisible() || layerOf(b) != layerOf(w))
            continue;
        const QRect button(b->mapTo(w->window(), QPoint(0, 0)), b->size());
        if (button.intersects(onWindow)) {
            if (why)
                *why = w->objectName() + QStringLiteral(" overlaps ") + b->objectName();
            return false;
        }
    }
    // Nor on the text of another label: a title that grows with the text size must not run into
    // the lines below it.
    for (const QLabel *l : w->window()->findChildren<QLabel *>()) {
        if (l == w || !l->isVisible() || l->text().isEmpty() || layerOf(l) != layerOf(w))
            continue;
        const QRect other = textRect(l, l->font(), nullptr);
        if (!other.isNull() && QRect(l->mapTo(w->window(), other.topLeft()), other.size()).intersects(onWindow)) {
            if (why)
                *why = w->objectName() + QStringLiteral(" overlaps the text of ") + l->objectName();
            return false;
        }
    }
    return true;
}

void fitOne(QWidget *w)
{
    QFont font = w->font();
    // The caption's own size: what the window gave it, unless the font is still the one fitted here.
    const QVariant fitted = w->property(kFittedSize);
    const qreal own = fitted.isValid() && qFuzzyCompare(fitted.toReal(), font.pointSizeF())
                          ? w->property(kOwnSize).toReal()
                          : font.pointSizeF();
    if (own <= 0)
        return;
    w->setProperty(kOwnSize, own);
    qreal size = own;
    for (font.setPointSizeF(size); size > kFloorPointSize && !fitsWith(w, font, nullptr);
         font.setPointSizeF(size))
        size -= 0.5;
    w->setProperty(kFittedSize, size);
    if (!qFuzzyCompare(w->font().pointSizeF(), size))
        w->setFont(font);
}

class Refitter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            fitAll(static_cast<QWidget *>(parent()));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void fitAll(QWidget *root)
{
    if (!root->findChild<Refitter *>(QString(), Qt::FindDirectChildrenOnly)) {
        auto *refitter = new Refitter(root);
        root->installEventFilter(refitter);
    }
    // Widgets in layouts get their sizes from them, also before the window is first shown.
    for (QLayout *layout : root->findChildren<QLayout *>())
        layout->activate();
    QList<QWidget *> widgets;
    for (QWidget *w : root->findChildren<QWidget *>())
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w))
            widgets << w;
    // Buttons first: a heading's room depends on where they stand.
    std::stable_sort(widgets.begin(), widgets.end(), [](QWidget *a, QWidget *b) {
        return qobject_cast<QAbstractButton *>(a) && !qobject_cast<QAbstractButton *>(b);
    });
    for (QWidget *w : widgets)
        fitOne(w);
}

bool fits(const QWidget *widget, QString *why)
{
    return fitsWith(widget, widget->font(), why);
}

} // namespace captions
