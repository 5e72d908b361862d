#pragma once

#include <memory>
#include <vector>

#include <QAbstractItemModel>
#include <QStringList>

#include "core/dialogs.h"

class QWidget;

// The files of a backup as a tree with check boxes: folders first, then files, each by name.
// Every file starts checked; a folder shows checked, unchecked or partly checked from the files
// below it, and checking it checks all of them. Built once from the list of paths, and only the
// rows a view asks for are ever looked at, so a backup of 50,000 songs opens at once.
class BackupTreeModel : public QAbstractItemModel {
public:
    explicit BackupTreeModel(const QStringList &files, QObject *parent = nullptr);
    ~BackupTreeModel() override;

    // The chosen parts as the restore takes them: folders checked whole, and checked files
    // outside them; empty when everything is checked.
    QStringList chosenParts() const;
    int checkedFiles() const;
    int totalFiles() const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Node;
    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(Node *node) const;
    void setSubtree(Node *node, bool checked);

    std::unique_ptr<Node> root;
};

// The dialog: the request's text above the tree, OK (only while something is checked) and Cancel.
// False when cancelled; *parts as BackupTreeModel::chosenParts.
bool chooseBackupParts(const PartRequest &request, QStringList *parts);
