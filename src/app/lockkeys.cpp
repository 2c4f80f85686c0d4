#include "app/lockkeys.h"

#include "app/lessonnotices.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>

#ifdef PALCOMIR_HAVE_XKB
#include <QtGui/qguiapplication_platform.h>
#include <xkbcommon/xkbcommon-x11.h>
#endif

// The keyboard of an X11 display, as its keyboard extension describes it.
struct LockKeys::Display {
#ifdef PALCOMIR_HAVE_XKB
    xcb_connection_t *connection = nullptr;
    std::int32_t device = -1;
    xkb_context *context = nullptr;
    xkb_keymap *keymap = nullptr;

    ~Display()
    {
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }

    static std::unique_ptr<Display> open()
    {
        auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
        if (!connection
            || !xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
            return nullptr;
        auto display = std::make_unique<Display>();
        display->connection = connection;
        display->device = xkb_x11_get_core_keyboard_device_id(connection);
        display->context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        if (display->device < 0 || !display->context)
            return nullptr;
        display->keymap = xkb_x11_keymap_new_from_device(
            display->context, connection, display->device, XKB_KEYMAP_COMPILE_NO_FLAGS);
        return display->keymap ? std::move(display) : nullptr;
    }

    // Each lamp as the server has it now; nothing for a lamp the keymap lacks.
    std::pair<std::optional<bool>, std::optional<bool>> read() const
    {
        xkb_state *state = xkb_x11_state_new_from_device(keymap, connection, device);
        if (!state)
            return {};
        auto lamp = [state](const char *name) -> std::optional<bool> {
            const int on = xkb_state_led_name_is_active(state, name);
            return on < 0 ? std::nullopt : std::optional<bool>(on > 0);
        };
        std::pair result { lamp(XKB_LED_NAME_CAPS), lamp(XKB_LED_NAME_NUM) };
        xkb_state_unref(state);
        return result;
    }
#else
    static std::unique_ptr<Display> open()
    {
        return nullptr;
    }
    std::pair<std::optional<bool>, std::optional<bool>> read() const
    {
        return {};
    }
#endif
};

LockKeys::LockKeys(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

LockKeys::~LockKeys() = default;

bool LockKeys::readsDisplay() const
{
    return m_display != nullptr;
}

void LockKeys::openDisplay()
{
    if (!m_display)
        m_display = Display::open();
    readDisplay();
}

void LockKeys::readDisplay()
{
    if (!m_display)
        return;
    const auto [caps, num] = m_display->read();
    set(caps, num);
}

void LockKeys::set(std::optional<bool> caps, std::optional<bool> num)
{
    if (caps == m_caps && num == m_num)
        return;
    m_caps = caps;
    m_num = num;
    emit changed();
}

bool LockKeys::eventFilter(QObject *watched, QEvent *event)
{
    // A key not taken by a widget goes on to its parents; what it tells is
    // the same each time.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        // A lock goes on when its key goes down and off when it comes up.
        if (m_display && (key.key() == Qt::Key_CapsLock || key.key() == Qt::Key_NumLock))
            QTimer::singleShot(0, this, &LockKeys::readDisplay);
        else if (!m_display && event->type() == QEvent::KeyPress)
            inferFrom(key);
    } else if (event->type() == QEvent::ApplicationActivate && watched == qApp) {
        // The lock keys may have been pressed in another program.
        readDisplay();
    }
    return QObject::eventFilter(watched, event);
}

void LockKeys::inferFrom(const QKeyEvent &event)
{
    const QList<uint> typed = event.text().toUcs4();
    const char32_t first = typed.isEmpty() ? 0 : char32_t(typed.first());
    std::optional<bool> caps = m_caps;
    std::optional<bool> num = m_num;
    if (event.modifiers() & Qt::KeypadModifier) {
        switch (event.key()) {
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Insert:
        case Qt::Key_Delete:
        case Qt::Key_Clear:
            num = lessonnotices::numLockFrom(first, true);
            break;
        default:
            if (const auto told = lessonnotices::numLockFrom(first, false))
                num = told;
            break;
        }
    } else if (const auto told = lessonnotices::capsLockFrom(first, event.modifiers() & Qt::ShiftModifier)) {
        caps = told;
    }
    set(caps, num);
}
