#pragma once

#include <functional>
#include <QString>

#include "core/dialogs.h"
#include "core/messagetable.h"
#include "core/operationstate.h"
#include "core/progressview.h"

class QObject;

// What an engine needs from the window that runs it.
struct OperationContext {
    OperationState &state;
    Dialogs &dialogs;
    ProgressView &progress;
    QObject *window = nullptr;                    // parent of boxes that belong to the operations window
    std::function<QString()> findDeviceDrive;     // the player's drive root ending in "/", or ""

    QString pick(const char *italianText, const char *englishText) const
    {
        return state.pick(italianText, englishText);
    }
    QString deviceDrive() const { return findDeviceDrive ? findDeviceDrive() : QString(); }
    // A message of the table in the current language.
    QString message(int code) const { return messageText(state.currentLanguage, code); }
};
