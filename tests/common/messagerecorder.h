#pragma once

// Answers the program's message boxes instead of showing them, and keeps
// what each one said.

#include "widgets/messages.h"

#include <QList>
#include <QString>
#include <QStringList>

struct Box {
    Messages::Kind kind;
    QString caption;
    QString text;
};

class MessageRecorder
{
public:
    MessageRecorder()
    {
        Messages::setHook([this](Messages::Kind kind, const QString &caption, const QString &text) {
            boxes.append({ kind, caption, text });
            return answerYes;
        });
    }
    ~MessageRecorder() { Messages::setHook({}); }

    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    QStringList texts() const
    {
        QStringList out;
        for (const Box &box : boxes)
            out << box.text;
        return out;
    }

    QList<Box> boxes;
    bool answerYes = false; // the answer to every question
};
