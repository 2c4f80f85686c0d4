#pragma once

#include "history/examcertificate.h"

#include <QDialog>

class QPagedPaintDevice;

// The end of an exam: the result, and the certificate to save as a PDF.
class ExamResultDlg : public QDialog
{
    Q_OBJECT

public:
    ExamResultDlg(QWidget *parent, ExamResult result);

    // Writes the certificate, one A4 page; false when the file cannot be written.
    bool writeCertificate(const QString &path) const;

private:
    void saveCertificate();
    void printCertificate();
    // Lays the certificate out on a page of the device and draws it.
    void drawCertificate(QPagedPaintDevice &device) const;

    ExamResult m_result;
};
