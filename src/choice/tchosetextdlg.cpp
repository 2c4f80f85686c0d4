#include "choice/tchosetextdlg.h"

#include "choice/lessonrows.h"
#include "lessons/lessonlibrary.h"
#include "widgets/help.h"
#include "widgets/textcodec.h"

#include <QListWidget>

TChoseTextDlg::TChoseTextDlg(
    QWidget *parent, const TStudent *student, int &result, int firstLesson, const LessonLibrary &library)
    : TChoseDlg(parent, student, result, firstLesson, library, QStringLiteral("Wybór tekstu"),
        QStringLiteral("Teksty:"), Help::TextList)
{ }

void TChoseTextDlg::fillList()
{
    for (int number = m_firstLesson;; ++number) {
        const auto text = m_library.text(number);
        if (!text)
            break;
        list()->addItem(textcodec::toQString(textListRow(*text)));
    }
}
