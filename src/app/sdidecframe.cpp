#include "app/sdidecframe.h"

#include "lessons/lessonlibrary.h"

#include <QLabel>
#include <QStatusBar>

SDIDecFrame::SDIDecFrame(const LessonLibrary &library, TOptions &options, QWidget *parent)
    : QMainWindow(parent)
    , m_library(library)
    , m_options(options)
{
    setWindowTitle(QStringLiteral("Palcomir"));
    setFixedSize(640, 480);
    auto *placeholder = new QLabel(QStringLiteral("Palcomir"), this);
    placeholder->setAlignment(Qt::AlignCenter);
    setCentralWidget(placeholder);
    statusBar();
}
