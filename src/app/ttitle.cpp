#include "app/ttitle.h"

#include "images/gifresource.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

struct Page {
    const char *heading;
    const char *text;
};

// The pages as text, drawn only when not even the title picture can be read.
const Page kPages[TTitle::kPageCount] = {
    { "Palcomir",
        "Nauka pisania bezwzrokowego na klawiaturze\n\n"
        "Zacznij od menu Plik → Rejestracja, a potem wybierz Lekcja → Sugerowana. "
        "Możesz też wybrać dowolną lekcję, tekst albo ćwiczenie z liter." },
    { "Jak siedzieć",
        "Siedź prosto, z plecami opartymi o oparcie krzesła, z obiema stopami płasko na podłodze. "
        "Uda powinny być mniej więcej poziome, a łokcie zgięte pod kątem prostym, blisko tułowia." },
    { "Dłonie i nadgarstki",
        "Palce spoczywają lekko na środkowym rzędzie: lewa ręka na A S D F, prawa na J K L ;. "
        "Nadgarstki trzymaj prosto i nie opieraj ich o krawędź biurka podczas pisania." },
    { "Monitor",
        "Górna krawędź ekranu powinna być na wysokości oczu lub trochę niżej, "
        "w odległości wyciągniętej ręki. Ustaw monitor tak, by nie odbijało się w nim okno ani lampa." },
    { "Przerwy",
        "Co godzinę zrób kilka minut przerwy: wstań, przeciągnij się, rozluźnij dłonie i ramiona. "
        "Patrząc na coś daleko za oknem, dajesz odpocząć oczom." },
    { "Nie patrz na klawiaturę",
        "Patrz na tekst na ekranie, nie na klawisze. Na początku pisz wolno i bez błędów — "
        "szybkość przyjdzie sama. Wyczuwalne wypukłości na F i J pomogą odnaleźć miejsce palców." },
};

} // namespace

TTitle::TTitle(QWidget *parent)
    : TCanvas(parent)
{
    setAccessibleName(QStringLiteral("Strona tytułowa"));
    showPage(1);
    m_countdown = kTicksPerPage;
    m_timer.start(1000, this);
}

void TTitle::tick()
{
    if (m_countdown == 0) {
        m_countdown = kTicksPerPage;
        nextPage();
    } else {
        --m_countdown;
    }
}

void TTitle::nextPage()
{
    showPage(m_pictureNo + 1);
}

// A page number past the last one wraps to the title page, and so does a
// page whose picture cannot be read.
void TTitle::showPage(int number)
{
    const qreal factor = screenScaleFactor();
    ScaledPicture page = number >= 1 && number <= kPageCount ? loadScaledPicture(number, factor) : ScaledPicture();
    m_pictureNo = page.dib ? number : 1;
    if (!page.dib)
        page = loadScaledPicture(1, factor);
    setPicture(std::move(page.dib), page.scale);
}

void TTitle::loadPictures()
{
    showPage(m_pictureNo);
}

void TTitle::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timer.timerId())
        tick();
    else
        TCanvas::timerEvent(event);
}

void TTitle::mousePressEvent(QMouseEvent *event)
{
    // Only the page turns it, not the margin around it on a full screen.
    const bool onPage = QRectF(QPointF(), layoutSize()).contains(layoutPoint(event->position()));
    if (event->button() != Qt::LeftButton || !onPage)
        return TCanvas::mousePressEvent(event);
    m_timer.stop();
    m_countdown = kTicksPerPage;
    nextPage();
    m_timer.start(1000, this);
}

void TTitle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    beginLayoutPaint(painter);
    const QRect area(QPoint(), layoutSize());
    if (hasPicture()) {
        drawPictureStretched(painter, 0, 0, area.width(), area.height());
        return;
    }
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(232, 240, 252));
    sky.setColorAt(1.0, QColor(250, 252, 255));
    painter.fillRect(area, sky);

    const Page &page = kPages[m_pictureNo - 1];
    QFont headingFont = font();
    headingFont.setPointSizeF(m_pictureNo == 1 ? 34 : 22);
    headingFont.setBold(true);
    painter.setFont(headingFont);
    painter.setPen(QColor(31, 78, 140));
    const QRect headingRect(40, area.height() / 6, area.width() - 80, area.height() / 5);
    painter.drawText(headingRect, Qt::AlignHCenter | Qt::AlignBottom, QString::fromUtf8(page.heading));

    QFont textFont = font();
    textFont.setPointSizeF(13);
    painter.setFont(textFont);
    painter.setPen(QColor(40, 40, 40));
    const QRect textRect(70, headingRect.bottom() + 30, area.width() - 140, area.height() - headingRect.bottom() - 90);
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, QString::fromUtf8(page.text));

    QFont small = font();
    small.setPointSizeF(9);
    painter.setFont(small);
    painter.setPen(QColor(110, 110, 110));
    painter.drawText(area.adjusted(10, 0, -10, -8), Qt::AlignRight | Qt::AlignBottom,
        QStringLiteral("%1 / %2   Kliknij, aby zobaczyć następną stronę").arg(m_pictureNo).arg(kPageCount));
}
