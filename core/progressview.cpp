#include "core/progressview.h"

void ProgressView::showBusyWidgets(bool visible)
{
    busyShown = barShown = statusShown = visible;
    barValue = 0;
    statusText.clear();
    changed(Change::Busy);
}

void ProgressView::setRange(int minimum, int maximum)
{
    barMinimum = minimum;
    barMaximum = maximum;
    changed(Change::Range);
}

void ProgressView::setValue(int value)
{
    barValue = value;
    changed(Change::Value);
}

void ProgressView::setFormat(const QString &format)
{
    barFormat = format;
    changed(Change::Format);
}

void ProgressView::setBarVisible(bool visible)
{
    barShown = visible;
    changed(Change::BarVisible);
}

void ProgressView::setStatus(const QString &text)
{
    statusText = text;
    changed(Change::Status);
}

void ProgressView::setStatusVisible(bool visible)
{
    statusShown = visible;
    changed(Change::StatusVisible);
}

void ProgressView::adopt(int minimum, int maximum, int value, const QString &format, bool barIsVisible,
                         const QString &status, bool statusIsVisible)
{
    barMinimum = minimum;
    barMaximum = maximum;
    barValue = value;
    barFormat = format;
    barShown = barIsVisible;
    busyShown = barIsVisible;
    statusText = status;
    statusShown = statusIsVisible;
}
