#pragma once

#include "choice/tchosedlg.h"

// "Wybór tekstu": the practical texts, each row its first line and how many
// lines follow it.
class TChoseTextDlg : public TChoseDlg
{
    Q_OBJECT

public:
    TChoseTextDlg(QWidget *parent, const TStudent *student, int &result, int firstLesson, const LessonLibrary &library);

protected:
    void fillList() override;
};
