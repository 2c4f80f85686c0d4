#pragma once

#include <functional>

#include <QString>

class QWidget;

// Message boxes with Polish buttons, the way the whole program shows them:
// problems with the stop icon, questions with Yes/No and No as the default.
namespace Messages {

enum class Kind { Plain, Information, Stop, Question };

// A test installs a hook to answer boxes instead of showing them; the hook
// returns true for "Tak" (questions) and is told every box.
using Hook = std::function<bool(Kind kind, const QString &caption, const QString &text)>;
void setHook(Hook hook);

// A box shown the moment typing stops (a lesson's end or start) takes
// `guardKeys`: the keys of the typing do not answer it (KeyGuard).
void plain(QWidget *parent, const QString &caption, const QString &text, bool guardKeys = false);
void information(QWidget *parent, const QString &caption, const QString &text, bool guardKeys = false);
void stop(QWidget *parent, const QString &caption, const QString &text);
// True when the learner answered "Tak".
bool ask(QWidget *parent, const QString &caption, const QString &text);

} // namespace Messages
