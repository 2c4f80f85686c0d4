#pragma once

#include <memory>
#include <optional>

#include <QObject>

class QKeyEvent;

// The state of Caps Lock and Num Lock for the status bar. On X11 it is read
// from the keyboard extension of the display (once asked to, when the program
// becomes active and after a lock key); elsewhere, and until then, it is
// inferred from the keys as they arrive.
class LockKeys : public QObject
{
    Q_OBJECT

public:
    explicit LockKeys(QObject *parent = nullptr);
    ~LockKeys() override;

    // Nothing while it is not known.
    std::optional<bool> capsLock() const { return m_caps; }
    std::optional<bool> numLock() const { return m_num; }
    // True when the display itself tells the state.
    bool readsDisplay() const;
    // Reads the keyboard of the display from now on. Reading its keymap takes
    // a few milliseconds, so the window asks for it once it has been painted.
    void openDisplay();

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readDisplay();
    void inferFrom(const QKeyEvent &event);
    void set(std::optional<bool> caps, std::optional<bool> num);

    struct Display;
    std::unique_ptr<Display> m_display;
    std::optional<bool> m_caps;
    std::optional<bool> m_num;
};
