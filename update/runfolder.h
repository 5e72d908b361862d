#pragma once

#include <memory>
#include <QString>

class QLockFile;
class QTemporaryDir;

// A folder of one run's own on the PC for its downloads and unpacked packages: a fresh name at
// every run below the user's cache folder (else the runtime folder), open to its owner only,
// removed with the object however the run ended. Two runs, of one user or of two, never share
// one. A run killed before its end leaves its folder behind; the next run to start removes it,
// since no living process holds its lock any more.
class RunFolder {
public:
    RunFolder();
    ~RunFolder();
    RunFolder(const RunFolder &) = delete;
    RunFolder &operator=(const RunFolder &) = delete;

    // False when no private folder could be made: nothing may be downloaded then.
    bool isValid() const { return dir != nullptr; }
    QString path() const;
    QString filePath(const QString &name) const { return path() + QLatin1Char('/') + name; }

    // The folder every run's own folder is made in.
    static QString base();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QLockFile> lock;
};
