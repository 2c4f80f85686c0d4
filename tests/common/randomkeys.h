#pragma once

// A keyboard hammered at random, for the lessons' robustness test and the
// memory benchmark: key presses and releases with any key code, any text
// (every Windows-1250 character, characters it lacks, control characters,
// lone surrogates, several characters at once, none), any modifiers and
// auto-repeat; input-method commits of composed letters and long strings;
// now and then the key the lesson expects, so that it moves on, changes
// lines and scrolls.

#include "text/cp1250.h"

#include <array>
#include <cstdint>
#include <random>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QString>

class RandomKeys
{
public:
    explicit RandomKeys(std::uint32_t seed)
        : m_random(seed)
    { }

    // Sends one event to the target; expected is the character the lesson
    // waits for (Windows-1250).
    void send(QWidget *target, unsigned char expected)
    {
        if (pick(20) == 0) {
            QInputMethodEvent event(pick(3) == 0 ? text() : QString(), {});
            event.setCommitString(commit(expected));
            QApplication::sendEvent(target, &event);
            return;
        }
        const QEvent::Type type = pick(3) == 0 ? QEvent::KeyRelease : QEvent::KeyPress;
        int key = keyCode();
        QString typed = text();
        if (pick(8) == 0) {
            key = expected == '\r' ? Qt::Key_Return : Qt::Key_unknown;
            typed = QString(char32ToString(cp1250::toCodePoint(expected)));
        }
        QKeyEvent event(type, key, modifiers(), typed, pick(8) == 0, ushort(1 + pick(3)));
        QApplication::sendEvent(target, &event);
    }

    int pick(int n) { return int(m_random() % std::uint32_t(n)); }

private:
    static QString char32ToString(char32_t c) { return QString::fromUcs4(&c, 1); }

    int keyCode()
    {
        static constexpr std::array<int, 24> kKeys = { Qt::Key_unknown, Qt::Key_Return, Qt::Key_Enter,
            Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Escape, Qt::Key_Space, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt,
            Qt::Key_AltGr, Qt::Key_Meta, Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_Pause, Qt::Key_F1, Qt::Key_F2,
            Qt::Key_F10, Qt::Key_Left, Qt::Key_Delete, Qt::Key_A, Qt::Key_Z, Qt::Key_Oacute, Qt::Key_Dead_Ogonek };
        switch (pick(3)) {
        case 0:
            return kKeys[std::size_t(pick(int(kKeys.size())))];
        case 1:
            return 0x20 + pick(0xE0); // the Latin-1 key codes
        default:
            return int(m_random() & 0x7FFFFFFF); // anything at all
        }
    }

    Qt::KeyboardModifiers modifiers()
    {
        if (pick(2) == 0)
            return Qt::NoModifier;
        return Qt::KeyboardModifiers(int(m_random())
            & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier
                | Qt::GroupSwitchModifier));
    }

    // One character of some kind.
    QString character()
    {
        switch (pick(5)) {
        case 0: // a Windows-1250 byte, the undefined ones too
            return char32ToString(cp1250::toCodePoint(static_cast<unsigned char>(0x20 + pick(0xE0))));
        case 1: // a control character, C0 or C1
            return QString(QChar(char16_t(pick(2) ? pick(0x20) : 0x7F + pick(0x21))));
        case 2: // a character the code page lacks, perhaps half a surrogate pair
            return QString(QChar(char16_t(0x100 + pick(0xFF00))));
        case 3: // beyond the BMP
            return char32ToString(char32_t(0x10000 + pick(0x100000)));
        default: {
            static const QString kPolish = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
            return QString(kPolish[pick(int(kPolish.size()))]);
        }
        }
    }

    QString text()
    {
        const int kind = pick(10);
        if (kind == 0)
            return {};
        QString text = character();
        if (kind == 1) {
            for (int n = pick(8); n > 0; --n)
                text += character();
        }
        return text;
    }

    QString commit(unsigned char expected)
    {
        switch (pick(4)) {
        case 0: // a letter composed from its base and a combining mark, precomposed or not
            return pick(2) ? QStringLiteral("ż") : QStringLiteral("a\u0328");
        case 1: { // a long string, as pasted
            QString text;
            for (int n = 1 + pick(500); n > 0; --n)
                text += character();
            return text;
        }
        case 2:
            return char32ToString(cp1250::toCodePoint(expected));
        default:
            return text();
        }
    }

    std::mt19937 m_random;
};
