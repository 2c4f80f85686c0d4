/* Seen from outside: how long a program takes from its start to the first
 * paint of its window and to a settled window, and how much memory it holds
 * once shown.
 *
 *   xstartup QUIET_MS PROGRAM [ARGS...]
 *
 * Starts PROGRAM, watches every top-level window created after that (the
 * program's and the window manager's frame around it) and prints
 * "<ms to first paint> <ms to settled> <resident kB>". The first paint is the
 * first drawing on a window of at least 200 x 200 pixels; the window is
 * settled at the last drawing before QUIET_MS of quiet. The memory is read
 * when that quiet is over, and no sooner than a second after the first paint.
 * The program is then ended. */

#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static long residentKb(pid_t pid)
{
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "VmRSS: %ld", &kb) == 1)
            break;
    fclose(f);
    return kb;
}

/* A window may be gone before its damage object is made. */
static int ignoreErrors(Display *display, XErrorEvent *error)
{
    (void)display;
    (void)error;
    return 0;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: xstartup QUIET_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int quietMs = atoi(argv[1]);
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xstartup: no display\n");
        return 2;
    }
    int damageEvent, damageError;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        fprintf(stderr, "xstartup: no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    double painted = -1, settled = -1;
    const double deadline = start + 20000;
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify) {
                /* Watch every new top-level window before it can be drawn. */
                XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            } else if (event.type == damageEvent + XDamageNotify) {
                const XDamageNotifyEvent *notify = (const XDamageNotifyEvent *)&event;
                /* Emptied, so that the next drawing is reported too. */
                XDamageSubtract(display, notify->damage, None, None);
                const double at = nowMs();
                if (painted < 0 && (long)notify->geometry.width * notify->geometry.height >= 200 * 200)
                    painted = at;
                if (painted >= 0)
                    settled = at;
            }
        }
        const double now = nowMs();
        if (now > deadline || (painted >= 0 && now - settled >= quietMs && now - painted >= 1000))
            break;
        struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 5);
    }
    const long kb = painted >= 0 ? residentKb(child) : -1;
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
    if (painted < 0) {
        fprintf(stderr, "xstartup: no window was painted\n");
        return 1;
    }
    printf("%.1f %.1f %ld\n", painted - start, settled - start, kb);
    return 0;
}
