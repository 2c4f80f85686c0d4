#include "lessons/lessonfont.h"

#include <QFontDatabase>
#include <QStringList>

namespace LessonFont {
namespace {

constexpr auto kResource = ":/fonts/DejaVuSansMono.ttf";

int &fontId()
{
    static int id = -1;
    return id;
}

} // namespace

QString family()
{
    int &id = fontId();
    if (id < 0)
        id = QFontDatabase::addApplicationFont(QString::fromLatin1(kResource));
    const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
    if (families.isEmpty())
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return families.first();
}

void release()
{
    int &id = fontId();
    if (id >= 0)
        QFontDatabase::removeApplicationFont(id);
    id = -1;
}

QFont font()
{
    QFont f(family());
    f.setPixelSize(kPixelSize);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setWeight(QFont::Normal);
    // Typed characters are drawn in runs under the text: no pair of letters
    // may move closer than the columns they stand in.
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

} // namespace LessonFont
