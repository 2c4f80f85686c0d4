#pragma once

#include <QEvent>

// Posted by a lesson to its parent when its text is done (no parameters).
inline constexpr QEvent::Type LessonFinished = QEvent::Type(QEvent::User + 1);
