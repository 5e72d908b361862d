#include "ui/backuptree.h"

#include <algorithm>
#include <functional>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

struct BackupTreeModel::Node {
    QString name;
    Node *parent = nullptr;
    int row = 0;
    bool folder = false;
    int files = 0;     // below it; 1 for a file
    int checked = 0;   // of those, checked
    std::vector<std::unique_ptr<Node>> children;

    QString path() const
    {
        return parent && parent->parent ? parent->path() + QLatin1Char('/') + name : name;
    }
};

BackupTreeModel::BackupTreeModel(const QStringList &files, QObject *parent)
    : QAbstractItemModel(parent), root(new Node)
{
    root->folder = true;
    QHash<QString, Node *> folders{{QString(), root.get()}};
    const std::function<Node *(const QString &)> folderNode = [&](const QString &path) -> Node * {
        if (Node *known = folders.value(path))
            return known;
        const int slash = path.lastIndexOf(QLatin1Char('/'));
        Node *above = folderNode(slash < 0 ? QString() : path.left(slash));
        above->children.emplace_back(new Node);
        Node *made = above->children.back().get();
        made->name = path.mid(slash + 1);
        made->parent = above;
        made->folder = true;
        folders.insert(path, made);
        return made;
    };
    for (const QString &file : files) {
        const int slash = file.lastIndexOf(QLatin1Char('/'));
        Node *above = folderNode(slash < 0 ? QString() : file.left(slash));
        above->children.emplace_back(new Node);
        Node *made = above->children.back().get();
        made->name = file.mid(slash + 1);
        made->parent = above;
        made->files = made->checked = 1;
    }
    // Rows in order, and the counts, from the leaves up.
    const std::function<void(Node *)> settle = [&](Node *node) {
        std::sort(node->children.begin(), node->children.end(), [](const auto &a, const auto &b) {
            if (a->folder != b->folder)
                return a->folder;
            return QString::compare(a->name, b->name, Qt::CaseInsensitive) < 0;
        });
        for (size_t i = 0; i < node->children.size(); ++i) {
            Node *child = node->children[i].get();
            child->row = int(i);
            if (child->folder)
                settle(child);
            node->files += child->files;
        }
        node->checked = node->files;
    };
    settle(root.get());
}

BackupTreeModel::~BackupTreeModel() = default;

BackupTreeModel::Node *BackupTreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : root.get();
}

QModelIndex BackupTreeModel::indexOf(Node *node) const
{
    return node == root.get() ? QModelIndex() : createIndex(node->row, 0, node);
}

QModelIndex BackupTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const Node *above = nodeOf(parent);
    if (column != 0 || row < 0 || row >= int(above->children.size()))
        return QModelIndex();
    return createIndex(row, 0, above->children[size_t(row)].get());
}

QModelIndex BackupTreeModel::parent(const QModelIndex &child) const
{
    return child.isValid() ? indexOf(nodeOf(child)->parent) : QModelIndex();
}

int BackupTreeModel::rowCount(const QModelIndex &parent) const
{
    return parent.column() > 0 ? 0 : int(nodeOf(parent)->children.size());
}

int BackupTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant BackupTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const Node *node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return node->name;
    case Qt::CheckStateRole:
        return node->checked == 0 ? Qt::Unchecked : node->checked == node->files ? Qt::Checked : Qt::PartiallyChecked;
    case Qt::DecorationRole:
        return QApplication::style()->standardIcon(node->folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
    default:
        return QVariant();
    }
}

void BackupTreeModel::setSubtree(Node *node, bool checked)
{
    node->checked = checked ? node->files : 0;
    if (node->children.empty())
        return;
    for (const auto &child : node->children)
        setSubtree(child.get(), checked);
    emit dataChanged(indexOf(node->children.front().get()), indexOf(node->children.back().get()), {Qt::CheckStateRole});
}

bool BackupTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole)
        return false;
    Node *node = nodeOf(index);
    const bool checked = value.toInt() != Qt::Unchecked;
    const int change = (checked ? node->files : 0) - node->checked;
    setSubtree(node, checked);
    for (Node *above = node->parent; above; above = above->parent) {
        above->checked += change;
        if (above != root.get())
            emit dataChanged(indexOf(above), indexOf(above), {Qt::CheckStateRole});
    }
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags BackupTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

QStringList BackupTreeModel::chosenParts() const
{
    QStringList parts;
    const std::function<void(const Node *)> collect = [&](const Node *node) {
        if (node->checked == 0)
            return;
        if (node->checked == node->files && node != root.get()) {
            parts << node->path();
            return;
        }
        for (const auto &child : node->children)
            collect(child.get());
    };
    if (root->checked != root->files)
        collect(root.get());
    return parts;
}

int BackupTreeModel::checkedFiles() const
{
    return root->checked;
}

int BackupTreeModel::totalFiles() const
{
    return root->files;
}

bool chooseBackupParts(const PartRequest &request, QStringList *parts)
{
    QDialog dialog(qobject_cast<QWidget *>(request.parent));
    dialog.setObjectName(QStringLiteral("backupTree"));
    dialog.setWindowTitle(request.title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *text = new QLabel(request.text);
    text->setWordWrap(true);
    layout->addWidget(text);
    BackupTreeModel model(request.files);
    auto *tree = new QTreeView;
    tree->setModel(&model);
    tree->setHeaderHidden(true);
    tree->setUniformRowHeights(true);   // the view need not measure 50,000 rows
    layout->addWidget(tree);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton *ok = buttons->button(QDialogButtonBox::Ok);
    if (!request.okCaption.isEmpty())
        ok->setText(request.okCaption);
    if (!request.cancelCaption.isEmpty())
        buttons->button(QDialogButtonBox::Cancel)->setText(request.cancelCaption);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    // Nothing checked is no restore: OK waits for a check.
    QObject::connect(&model, &QAbstractItemModel::dataChanged, ok, [&] { ok->setEnabled(model.checkedFiles() > 0); });
    dialog.resize(520, 480);
    if (dialog.exec() != QDialog::Accepted || model.checkedFiles() == 0)
        return false;
    *parts = model.chosenParts();
    return true;
}
