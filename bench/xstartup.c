/* Seen from outside: how long a program takes from its start to the first
 * paint of its window, and how much memory it holds once shown.
 *
 *   xstartup SETTLE_MS PROGRAM [ARGS...]
 *
 * Starts PROGRAM, watches the screen for the first top-level window it
 * creates, and prints "<milliseconds to first paint> <resident kB>" (the
 * memory read SETTLE_MS after that paint). The program is then ended. */

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

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: xstartup SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int settleMs = atoi(argv[1]);
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
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    double painted = -1;
    const double deadline = start + 20000;
    while (painted < 0 && nowMs() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify) {
                /* Watch every new top-level window before it can be drawn. */
                XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            } else if (event.type == damageEvent + XDamageNotify) {
                const XDamageNotifyEvent *notify = (const XDamageNotifyEvent *)&event;
                if ((long)notify->geometry.width * notify->geometry.height >= 200 * 200) {
                    painted = nowMs();
                    break;
                }
            }
        }
        struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 50);
    }
    long kb = -1;
    if (painted >= 0) {
        usleep((useconds_t)settleMs * 1000);
        kb = residentKb(child);
    }
    kill(child, SIGKILL);
    waitpid(child, NULL, 0);
    if (painted < 0) {
        fprintf(stderr, "xstartup: no window was painted\n");
        return 1;
    }
    printf("%.1f %ld\n", painted - start, kb);
    return 0;
}
