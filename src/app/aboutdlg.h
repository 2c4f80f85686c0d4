#pragma once

#include <QDialog>

// "Informacje": the program's name, version and credits. A click anywhere closes it.
class ABCAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit ABCAboutDlg(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
