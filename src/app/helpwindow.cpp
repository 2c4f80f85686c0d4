#include "app/helpwindow.h"

#include "app/helpcontexts.h"
#include "widgets/viewzoom.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const QString kHelpRoot = QStringLiteral("qrc:/help/");
constexpr int kFrameAllowance = 32;
} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Palcomir - pomoc"));
    resize(ViewZoom::scaled(QSize(640, 520)));

    QFile table(QStringLiteral(":/help/contexts.txt"));
    if (table.open(QIODevice::ReadOnly))
        m_contexts = parseHelpContexts(table.readAll().toStdString());

    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    auto *back = new QPushButton(QStringLiteral("&Wstecz"), this);
    auto *forward = new QPushButton(QStringLiteral("&Dalej"), this);
    auto *contents = new QPushButton(QStringLiteral("&Spis treści"), this);
    auto *close = new QPushButton(QStringLiteral("&Zamknij"), this);
    back->setEnabled(false);
    forward->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this, [this] { m_browser->setSource(urlOf(0)); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

QUrl HelpWindow::urlOf(int context) const
{
    auto it = m_contexts.find(context);
    if (it == m_contexts.end())
        it = m_contexts.find(0);
    const QString target = it == m_contexts.end() ? QStringLiteral("index.html") : QString::fromStdString(it->second);
    return QUrl(kHelpRoot + target);
}

void HelpWindow::showContext(int context)
{
    m_browser->setSource(urlOf(context));
    bringForward();
}

void HelpWindow::showPage(const QString &page)
{
    m_browser->setSource(QUrl(kHelpRoot + page));
    bringForward();
}

void HelpWindow::bringForward()
{
    if (!isVisible())
        fitToScreen();
    show();
    raise();
    activateWindow();
}

void HelpWindow::fitToScreen()
{
    const QWidget *anchor = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *screen = anchor ? anchor->screen() : this->screen();
    if (!screen)
        return;
    // The window frame is not known before the window is first shown; leave
    // room for a title bar and borders of the usual size.
    const QRect available = screen->availableGeometry().adjusted(0, 0, -kFrameAllowance, -2 * kFrameAllowance);
    const QSize size = ViewZoom::scaled(QSize(640, 520)).boundedTo(available.size()).expandedTo(minimumSizeHint());
    resize(size.boundedTo(available.size()));
    // Beside the window it helps with, inside the screen.
    QPoint at = anchor ? anchor->geometry().center() - QPoint(width() / 2, height() / 2) : available.topLeft();
    at.setX(qBound(available.left(), at.x(), available.right() - width()));
    at.setY(qBound(available.top(), at.y(), available.bottom() - height()));
    move(at);
}
