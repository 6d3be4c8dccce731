/* Starts a program and prints, in milliseconds, how long it took until a
 * top-level window whose title begins with a given text was mapped on the
 * X display. The program is then terminated.
 *
 *   time_to_window TITLE-PREFIX COMMAND [ARGS...]
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static int title_matches(Display* dpy, Window w, const char* prefix) {
  char* name = NULL;
  int ok = 0;
  if (XFetchName(dpy, w, &name) && name) {
    ok = strncmp(name, prefix, strlen(prefix)) == 0;
    XFree(name);
  }
  if (!ok) {
    XTextProperty prop;
    Atom net = XInternAtom(dpy, "_NET_WM_NAME", False);
    if (XGetTextProperty(dpy, w, &prop, net) && prop.value) {
      ok = strncmp((const char*)prop.value, prefix, strlen(prefix)) == 0;
      XFree(prop.value);
    }
  }
  return ok;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s TITLE-PREFIX COMMAND [ARGS...]\n", argv[0]);
    return 2;
  }
  Display* dpy = XOpenDisplay(NULL);
  if (!dpy) {
    fprintf(stderr, "no X display\n");
    return 2;
  }
  Window root = DefaultRootWindow(dpy);
  XSelectInput(dpy, root, SubstructureNotifyMask);
  XSync(dpy, False);

  double t0 = now_ms();
  pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  int fd = ConnectionNumber(dpy);
  double found = -1;
  while (found < 0 && now_ms() - t0 < 30000) {
    while (XPending(dpy)) {
      XEvent ev;
      XNextEvent(dpy, &ev);
      if (ev.type == MapNotify && title_matches(dpy, ev.xmap.window, argv[1])) {
        found = now_ms();
        break;
      }
    }
    if (found >= 0) break;
    int status;
    if (waitpid(pid, &status, WNOHANG) == pid) break;  /* ended without a window */
    fd_set set;
    FD_ZERO(&set);
    FD_SET(fd, &set);
    struct timeval tv = {0, 20000};
    select(fd + 1, &set, NULL, NULL, &tv);
  }
  kill(pid, SIGTERM);
  waitpid(pid, NULL, 0);
  XCloseDisplay(dpy);
  if (found < 0) {
    fprintf(stderr, "no window titled '%s...' appeared\n", argv[1]);
    return 1;
  }
  printf("%.1f\n", found - t0);
  return 0;
}
