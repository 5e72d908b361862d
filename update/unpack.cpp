#include "update/unpack.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "device/batchcmd.h"
#include "device/platform.h"
#include "core/delay.h"
#include "core/progressview.h"

namespace {
constexpr int kPollMs = 200;

// Stands in for a missing bar so the wait looks the same either way.
class NoProgress : public ProgressView {
public:
    void showBusyWidgets(bool) override {}
    void setMinimum(int) override {}
    void setMaximum(int) override {}
    void setValue(int) override {}
    void setFormat(const QString &) override {}
    int minimum() const override { return 0; }
    int maximum() const override { return 0; }
    int value() const override { return 0; }
    QString format() const override { return QString(); }
    void repaintBar() override {}
    void updateBar() override {}
    void setBarVisible(bool) override {}
    void setStatus(const QString &) override {}
    QString status() const override { return QString(); }
    void repaintStatus() override {}
    void setStatusVisible(bool) override {}
};
} // namespace

QStringList unpackArguments(const QString &zipPath)
{
    return {zipPath, QStringLiteral("-o"), QFileInfo(zipPath).absolutePath(), QStringLiteral("-no-directory")};
}

bool unpackPackage(QString zipPath, ProgressView &bar)
{
    BatchCmd runner;
    const bool started = runner.StartSingleCmd(platform::unpackerProgram(), unpackArguments(zipPath), false);
    bar.setMaximum(0);
    bar.setValue(0);
    // A start that returned false has nothing to wait for.
    while (started && !runner.singleCmdDone) {
        bar.repaintBar();
        delay(kPollMs);
    }
    bar.setMaximum(0);
    if (started)
        QFile::remove(zipPath);
    return started;
}

bool unpackPackage(const QString &zipPath, ProgressView *bar)
{
    NoProgress none;
    ProgressView &view = bar ? *bar : static_cast<ProgressView &>(none);
    return unpackPackage(QString(zipPath), view);
}
