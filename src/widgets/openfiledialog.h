#pragma once

#include <QString>

class QWidget;

// Asks for one existing file, starting at `start` (a file is selected, a
// folder opened), as Qt's open dialog does, but large enough for its columns:
// a date and a size must be read whole. Empty when the learner cancels.
QString askForFileToOpen(QWidget *parent, const QString &start, const QString &filter);
