#pragma once

#include <QString>

// The state every operation reads: the language, the Stop flag and the operation-succeeded flag.
// The operations window is one of these; engines receive it by reference.
struct OperationState {
    int currentLanguage = 0;   // 0 Italian, 1 English
    bool stopRequested = false;
    bool operationOk = false;

    bool italian() const { return currentLanguage == 0; }
    // Inline text pairs: any language other than 0 reads as English.
    QString pick(const char *italianText, const char *englishText) const
    {
        return QString::fromUtf8(italian() ? italianText : englishText);
    }
};
