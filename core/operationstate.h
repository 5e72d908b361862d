#pragma once

#include <atomic>

#include <QString>

// The state every operation reads: the language, the Stop flag and the operation-succeeded flag.
// The operations runner owns one; engines receive it by reference. Stop is pressed on the
// window's thread while the work runs on another, hence the atomic flag.
struct OperationState {
    int currentLanguage = 0;   // 0 Italian, 1 English
    std::atomic<bool> stopRequested{false};
    // Stop was pressed during the run. A step that ends only itself on Stop clears stopRequested,
    // never this: the run still ends as stopped.
    std::atomic<bool> stopPressed{false};

    void pressStop()
    {
        stopPressed = true;
        stopRequested = true;
    }
    bool operationOk = false;  // the last run ended Done; written by the runner only

    bool italian() const { return currentLanguage == 0; }
    // Inline text pairs: any language other than 0 reads as English.
    QString pick(const char *italianText, const char *englishText) const
    {
        return QString::fromUtf8(italian() ? italianText : englishText);
    }
};
