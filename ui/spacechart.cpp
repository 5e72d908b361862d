#include "ui/spacechart.h"

#include <QPainter>

namespace {

constexpr int kRow = 18;
constexpr int kHeading = 20;

} // namespace

SpaceChart::SpaceChart(QWidget *parent) : QWidget(parent) {}

void SpaceChart::setReport(const health::Report &report, const OperationState &state)
{
    folderHeading = state.translate("SpaceChart", "Space per folder");
    kindHeading = state.translate("SpaceChart", "Space per kind");
    const auto bar = [&state](const QString &label, int songs, qint64 bytes) {
        return Bar{label, state.translate("SpaceChart", "%1 songs, %2").arg(songs).arg(health::sizeText(bytes)), bytes};
    };
    folders.clear();
    kinds.clear();
    int otherSongs = 0;
    qint64 otherBytes = 0;
    for (int i = 0; i < report.byFolder.size(); ++i) {
        const health::SpaceRow &row = report.byFolder.at(i);
        if (i < kFolderBars) {
            folders << bar(row.name.isEmpty() ? state.translate("SpaceChart", "(root)") : row.name, row.songs, row.bytes);
        } else {
            otherSongs += row.songs;
            otherBytes += row.bytes;
        }
    }
    if (otherSongs > 0)
        folders << bar(state.translate("SpaceChart", "other folders"), otherSongs, otherBytes);
    for (const health::SpaceRow &row : report.byKind)
        kinds << bar(row.name, row.songs, row.bytes);
    updateGeometry();
    update();
}

QSize SpaceChart::minimumSizeHint() const
{
    return QSize(200, 2 * kHeading + (folders.size() + kinds.size()) * kRow + 8);
}

void SpaceChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(51, 51, 51));
    const int labelWidth = width() / 4;
    const int figuresWidth = width() / 3;
    const int barWidth = width() - labelWidth - figuresWidth - 12;
    int y = 4;
    const auto section = [&](const QString &heading, const QVector<Bar> &bars, const QColor &colour) {
        p.setPen(Qt::white);
        p.drawText(QRect(4, y, width() - 8, kHeading), Qt::AlignLeft | Qt::AlignVCenter, heading);
        y += kHeading;
        qint64 largest = 1;
        for (const Bar &b : bars)
            largest = qMax(largest, b.bytes);
        for (const Bar &b : bars) {
            p.setPen(QColor(220, 220, 220));
            const QRect label(4, y, labelWidth - 8, kRow);
            p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, p.fontMetrics().elidedText(b.label, Qt::ElideMiddle, label.width()));
            const int length = qMax(1, int(double(barWidth) * double(b.bytes) / double(largest)));
            p.fillRect(QRect(labelWidth, y + 3, length, kRow - 6), colour);
            p.drawText(QRect(labelWidth + barWidth + 8, y, figuresWidth, kRow), Qt::AlignLeft | Qt::AlignVCenter, b.figures);
            y += kRow;
        }
    };
    section(folderHeading, folders, QColor(97, 150, 209));
    section(kindHeading, kinds, QColor(209, 150, 97));
}
