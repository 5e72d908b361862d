#pragma once

#include "core/dialogs.h"

// The real dialogs: QMessageBox and QFileDialog.
class WidgetDialogs : public Dialogs {
public:
    int showMessage(const MessageBoxRequest &request) override;
    QString chooseFolder(const FolderRequest &request) override;
    void aboutToolkit(QObject *parent) override;
    int chooseItem(const ChoiceRequest &request) override;
    bool choosePart(const PartRequest &request, QStringList *parts) override;
};
