/* Seen from outside: how long after a key press (sent with XTest) the
 * window's contents change (reported by the DAMAGE extension).
 *
 *   xkeylatency WINDOW TEXT [MAX_Y]
 *
 * Types TEXT ("\n" is Return) into the focused window, one key every 60 ms,
 * and prints one latency in milliseconds per key. Only changes above MAX_Y
 * count, so a clock in a status bar does not answer for a key. */

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static KeyCode keycodeOf(Display *display, char c, int *shift)
{
    /* A printable ASCII character's keysym is its own code (";" has no
     * keysym name of its own, so a name lookup misses it). */
    KeySym sym = c == '\n' ? XK_Return : (KeySym)(unsigned char)c;
    KeyCode code = XKeysymToKeycode(display, sym);
    *shift = code && XkbKeycodeToKeysym(display, code, 0, 0) != sym;
    return code;
}

/* Waits until the window changes above maxY; returns the time it did, or -1. */
static double waitForDamage(Display *display, int damageEvent, int maxY, double deadline)
{
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvent + XDamageNotify) {
                const XDamageNotifyEvent *notify = (const XDamageNotifyEvent *)&event;
                if (notify->area.y < maxY)
                    return nowMs();
            }
        }
        const double left = deadline - nowMs();
        if (left <= 0)
            return -1;
        struct pollfd fd = { ConnectionNumber(display), POLLIN, 0 };
        poll(&fd, 1, (int)left + 1);
    }
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s WINDOW TEXT [MAX_Y]\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    const Window window = (Window)strtoul(argv[1], NULL, 0);
    const char *text = argv[2];
    const int maxY = argc > 3 ? atoi(argv[3]) : 1 << 30;
    int damageEvent = 0, damageError = 0, ignored = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)
        || !XTestQueryExtension(display, &ignored, &ignored, &ignored, &ignored)) {
        fprintf(stderr, "the X server lacks DAMAGE or XTEST\n");
        return 2;
    }
    /* Every change, as rectangles, so each key's first change is seen. */
    Damage damage = XDamageCreate(display, window, XDamageReportRawRectangles);
    const KeyCode shiftCode = XKeysymToKeycode(display, XK_Shift_L);
    XSync(display, False);

    int missed = 0;
    for (const char *c = text; *c; ++c) {
        int shift = 0;
        const KeyCode code = keycodeOf(display, *c, &shift);
        if (!code)
            continue;
        /* Let the previous key's changes settle and drop their reports. */
        const double quiet = nowMs() + 60;
        waitForDamage(display, damageEvent, -1, quiet);
        if (shift)
            XTestFakeKeyEvent(display, shiftCode, True, 0);
        const double sent = nowMs();
        XTestFakeKeyEvent(display, code, True, 0);
        XFlush(display);
        const double changed = waitForDamage(display, damageEvent, maxY, sent + 1000);
        XTestFakeKeyEvent(display, code, False, 0);
        if (shift)
            XTestFakeKeyEvent(display, shiftCode, False, 0);
        XFlush(display);
        if (changed < 0)
            ++missed;
        else
            printf("%.3f\n", changed - sent);
    }
    if (missed)
        fprintf(stderr, "%d keys changed nothing within a second\n", missed);
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
    return 0;
}
