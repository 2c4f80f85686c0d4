#include "app/examresultdlg.h"

#include "widgets/messages.h"
#include "widgets/viewzoom.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextDocument>
#include <QVBoxLayout>

ExamResultDlg::ExamResultDlg(QWidget *parent, ExamResult result)
    : QDialog(parent)
    , m_result(std::move(result))
{
    setWindowTitle(QStringLiteral("Sprawdzian"));
    auto *text = new QLabel(QString::fromStdString(examVerdict(m_result)), this);
    text->setWordWrap(true);
    text->setMinimumWidth(ViewZoom::scaled(380));
    auto *save = new QPushButton(QStringLiteral("&Zapisz świadectwo…"), this);
    save->setObjectName(QStringLiteral("101"));
    auto *close = new QPushButton(QStringLiteral("Zamknij"), this);
    close->setObjectName(QStringLiteral("1"));
    close->setDefault(true);
    auto *print = new QPushButton(QStringLiteral("&Drukuj…"), this);
    print->setObjectName(QStringLiteral("102"));
    connect(save, &QPushButton::clicked, this, &ExamResultDlg::saveCertificate);
    connect(print, &QPushButton::clicked, this, &ExamResultDlg::printCertificate);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
}

bool ExamResultDlg::writeCertificate(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter pdf(&file);
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("Świadectwo"));
    pdf.setCreator(QStringLiteral("Palcomir"));
    drawCertificate(pdf);
    return file.error() == QFileDevice::NoError;
}

void ExamResultDlg::drawCertificate(QPagedPaintDevice &device) const
{
    device.setPageSize(QPageSize(QPageSize::A4));
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    document.setHtml(QString::fromStdString(certificateHtml(m_result)));
    document.print(&device);
}

void ExamResultDlg::printCertificate()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Świadectwo"));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drukuj świadectwo"));
    if (dialog.exec() == QDialog::Accepted)
        drawCertificate(printer);
}

void ExamResultDlg::saveCertificate()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = QStringLiteral("świadectwo %1.pdf").arg(QString::fromStdString(m_result.pupil));
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Zapisz świadectwo"),
        QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(name), QStringLiteral("Dokument PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!writeCertificate(path))
        Messages::stop(this, QStringLiteral("Sprawdzian"),
            QStringLiteral("Nie można zapisać świadectwa w pliku %1.").arg(QDir::toNativeSeparators(path)));
}
