#pragma once

#include <QVector>
#include <QWidget>

#include "operations/operations.h"

// Where the space goes on the player: songs and bytes per top folder and per kind, as two sets
// of horizontal bars drawn with QPainter.
class SpaceChart : public QWidget {
    Q_OBJECT

public:
    explicit SpaceChart(QWidget *parent = nullptr);

    // Folders beyond the largest few are drawn as one bar.
    static constexpr int kFolderBars = 6;

    void setReport(const health::Report &report, const OperationState &state);
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Bar {
        QString label;
        QString figures;
        qint64 bytes = 0;
    };
    QString folderHeading;
    QString kindHeading;
    QVector<Bar> folders;
    QVector<Bar> kinds;
};
