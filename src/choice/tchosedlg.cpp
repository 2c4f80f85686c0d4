#include "choice/tchosedlg.h"

#include "lessons/lessonlibrary.h"
#include "widgets/dialogbuttons.h"
#include "widgets/help.h"
#include "widgets/textcodec.h"
#include "widgets/viewzoom.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TChoseDlg::TChoseDlg(
    QWidget *parent, const TStudent *student, int &result, int firstLesson, const LessonLibrary &library)
    : TChoseDlg(parent, student, result, firstLesson, library, QStringLiteral("Wybór lekcji"),
        QStringLiteral("Lekcje:"), Help::LessonList)
{ }

TChoseDlg::TChoseDlg(QWidget *parent, const TStudent * /*student*/, int &result, int firstLesson,
    const LessonLibrary &library, const QString &caption, const QString &label, int helpContext)
    : QDialog(parent)
    , m_library(library)
    , m_firstLesson(firstLesson)
    , m_result(result)
{
    setWindowTitle(caption);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("101"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setMinimumWidth(ViewZoom::scaled(helpContext == Help::TextList ? 380 : 260));
    auto *listLabel = new QLabel(label, this);
    listLabel->setBuddy(m_list);
    // A list takes no name from its label: the label's words, for a screen reader.
    m_list->setAccessibleName(QString(label).remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed());

    auto *ok = dialogButton(this, QStringLiteral("OK"), 1, true);
    auto *cancel = dialogButton(this, QStringLiteral("&Anuluj"), 2);
    auto *help = dialogButton(this, QStringLiteral("&Pomoc"), 998);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    buttons->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(m_list);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &TChoseDlg::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this, helpContext] { Help::show(this, helpContext); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TChoseDlg::choose);
}

void TChoseDlg::fillList()
{
    for (int number = m_firstLesson;; ++number) {
        const auto title = m_library.title(number);
        if (!title)
            break;
        m_list->addItem(textcodec::toQString(*title));
    }
}

void TChoseDlg::showEvent(QShowEvent *event)
{
    if (!m_filled) {
        m_filled = true;
        fillList();
        if (m_list->count() > 0)
            m_list->setCurrentRow(0);
        m_list->setFocus();
    }
    QDialog::showEvent(event);
}

// With an empty list the result is one before the group's first lesson, a
// number with no text, so the lesson then simply does not start.
void TChoseDlg::choose()
{
    m_result = m_firstLesson + m_list->currentRow();
    accept();
}
