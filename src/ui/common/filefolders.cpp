#include "ui/common/filefolders.h"

#include "ui/common/appcontext.h"
#include "ui/common/qtext.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <array>

namespace zorv::ui {

namespace {

    using Folders = std::array<QString, static_cast<std::size_t>(FileFolder::Selection) + 1>;

    Folders &lastFolders()
    {
        static Folders folders;
        return folders;
    }

    // Qt sizes the detail columns for its English headers: "Dernière modification" would be cut.
    void fitColumns(QFileDialog &dialog)
    {
        auto *tree = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
        if (!tree || !tree->model())
            return;
        QHeaderView *header = tree->header();
        const QFontMetrics metrics(header->font());
        for (int column = 1; column < header->count(); ++column) {
            const QString title = tree->model()->headerData(column, Qt::Horizontal).toString();
            // The sort arrow and the section's margins take about 30 pixels.
            const int needed = metrics.horizontalAdvance(title) + 30;
            if (header->sectionSize(column) < needed)
                header->resizeSection(column, needed);
        }
        dialog.resize(std::max(dialog.width(), 820), std::max(dialog.height(), 480));
    }

} // namespace

void startFileDialog(QFileDialog &dialog, const AppContext &context, FileFolder kind)
{
    const QString &last = lastFolders()[static_cast<std::size_t>(kind)];
    QString folder = last;
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        const QString logbook = toQt(context.logbook.path());
        folder = logbook.isEmpty() ? QString() : QFileInfo(logbook).absolutePath();
    }
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
    fitColumns(dialog);
    // The dialog lays its columns out again as it shows itself.
    QTimer::singleShot(0, &dialog, [&dialog] { fitColumns(dialog); });
}

void rememberFileFolder(const QFileDialog &dialog, FileFolder kind)
{
    if (dialog.selectedFiles().isEmpty())
        return;
    lastFolders()[static_cast<std::size_t>(kind)] = QFileInfo(dialog.selectedFiles().constFirst()).absolutePath();
}

} // namespace zorv::ui
