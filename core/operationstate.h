#pragma once

#include <atomic>

#include <QString>

#include "core/language.h"

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
    // Chooses the run's language and installs its translations app-wide (Qt's dialogs follow).
    void setLanguage(int lang)
    {
        currentLanguage = lang;
        language::install(lang);
    }
    // A text in the state's language (lupdate reads these calls like QCoreApplication::translate).
    QString translate(const char *context, const char *source, const char *disambiguation = nullptr) const
    {
        return language::translate(currentLanguage, context, source, disambiguation);
    }
};
