#pragma once

#include "students/statrows.h"

#include <QListWidget>

// The rows of "Statystyka": a character's name, its speed or accuracy and a
// bar for it. Rows are drawn whole by the list's own delegate, with no
// selection highlight and no focus frame, so selecting one changes nothing.
class TStatListBox : public QListWidget
{
    Q_OBJECT

public:
    // Keeps a reference to the results; they must outlive the list.
    TStatListBox(QWidget *parent, const TCharStats &stats);

    StatMode mode() const { return m_mode; }
    // Redraws every row in the new mode.
    void setMode(StatMode mode);

    float speedScale() const { return m_speedScale; }
    const TCharStat &statOf(const QListWidgetItem *item) const;

private:
    const TCharStats &m_stats;
    StatMode m_mode = StatMode::Speed;
    float m_speedScale = 100.0F;
};
