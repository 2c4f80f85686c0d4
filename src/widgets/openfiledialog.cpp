#include "widgets/openfiledialog.h"
#include "widgets/viewzoom.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>

QString askForFileToOpen(QWidget *parent, const QString &start, const QString &filter)
{
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt's own dialog (a desktop's may stand in for it) gets room for the
    // name, a size and a whole date and time.
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        const QFontMetrics metrics(details->font());
        const QString date = QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        header->resizeSection(1, metrics.horizontalAdvance(QStringLiteral("999,9 KiB")) + 16);
        header->resizeSection(3, metrics.horizontalAdvance(date) + 24);
        dialog.resize(ViewZoom::scaled(QSize(620, 420)));
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}
