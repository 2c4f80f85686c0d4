#pragma once

#include <map>
#include <string>

#include <QWidget>

class QTextBrowser;

// The help viewer: the program's own Polish help pages, opened at their
// contents or at the topic of a dialog.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Shows the page of a context number (the contents for an unknown one) and brings the window forward.
    void showContext(int context);
    // Shows one page of the help by its file name.
    void showPage(const QString &page);

    // "qrc:/help/page.html#anchor" for a context number; the contents page for an unknown one.
    QUrl urlOf(int context) const;

    QTextBrowser *browser() const { return m_browser; }

private:
    void bringForward();
    // The window's size and place, within the screen of the window it helps with.
    void fitToScreen();

    QTextBrowser *m_browser = nullptr;
    std::map<int, std::string> m_contexts;
};
