/* How long a client's main loop stops answering: sends _NET_WM_PING to one of its windows,
 * as a window manager does, again 20 ms after each answer. Prints "ready" once the first ping
 * was answered, and at the end the longest wait for an answer in milliseconds (a ping still
 * unanswered counts as long as it has waited), then "pings: N". It stops on SIGTERM or
 * SIGINT, or once 50 pings were answered after SIGUSR1 (what was measured is over, and
 * whatever work it left the client has had its turn).
 * Usage: main_loop_ping WINDOW_ID   (decimal or 0x hexadecimal; DISPLAY names the display)
 * Exit status 0 after the report, 2 on a usage error, 1 when the display or window fails. */
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <xcb/xcb.h>

static volatile sig_atomic_t stopping, marked;

static void onStop(int signal) {
  (void)signal;
  stopping = 1;
}

static void onMark(int signal) {
  (void)signal;
  marked = 1;
}

static double nowMs(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), NULL);
  xcb_atom_t a = reply ? reply->atom : XCB_ATOM_NONE;
  free(reply);
  return a;
}

int main(int argc, char** argv) {
  char* end = NULL;
  const unsigned long window = argc == 2 ? strtoul(argv[1], &end, 0) : 0;
  if (argc != 2 || !end || *end || window == 0) {
    fprintf(stderr, "usage: main_loop_ping WINDOW_ID\n");
    return 2;
  }
  xcb_connection_t* c = xcb_connect(NULL, NULL);
  if (xcb_connection_has_error(c)) {
    fprintf(stderr, "main_loop_ping: cannot open display %s\n", getenv("DISPLAY") ? getenv("DISPLAY") : "");
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t protocols = atom(c, "WM_PROTOCOLS"), ping = atom(c, "_NET_WM_PING");
  /* The client answers by sending the ping back to the root window. */
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  struct sigaction stop;
  memset(&stop, 0, sizeof stop);
  stop.sa_handler = onStop;
  sigaction(SIGTERM, &stop, NULL);
  sigaction(SIGINT, &stop, NULL);
  struct sigaction mark = stop;
  mark.sa_handler = onMark;
  sigaction(SIGUSR1, &mark, NULL);

  double longest = 0, sentAt = 0, nextAt = 0;
  uint32_t stamp = 0, awaited = 0;
  unsigned long pings = 0, afterMark = 0;
  while (!stopping && afterMark < 50) {
    const double now = nowMs();
    if (!awaited && now >= nextAt) {
      xcb_client_message_event_t event;
      memset(&event, 0, sizeof event);
      event.response_type = XCB_CLIENT_MESSAGE;
      event.format = 32;
      event.window = window;
      event.type = protocols;
      event.data.data32[0] = ping;
      event.data.data32[1] = awaited = ++stamp;
      event.data.data32[2] = window;
      xcb_void_cookie_t sent =
          xcb_send_event_checked(c, 0, window, XCB_EVENT_MASK_NO_EVENT, (const char*)&event);
      xcb_generic_error_t* error = xcb_request_check(c, sent);
      if (error) {
        fprintf(stderr, "main_loop_ping: window 0x%lx: X error %d\n", window, error->error_code);
        free(error);
        return 1;
      }
      sentAt = now;
    }
    struct pollfd fd = {xcb_get_file_descriptor(c), POLLIN, 0};
    if (poll(&fd, 1, awaited ? 50 : 20) < 0 && errno != EINTR) break;
    xcb_generic_event_t* event;
    while ((event = xcb_poll_for_event(c))) {
      const xcb_client_message_event_t* message = (const xcb_client_message_event_t*)event;
      if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE && message->data.data32[0] == ping && awaited &&
          message->data.data32[1] == awaited) {
        const double waited = nowMs() - sentAt;
        if (waited > longest) longest = waited;
        awaited = 0;
        if (++pings == 1) {
          printf("ready\n");
          fflush(stdout);
        }
        if (marked) ++afterMark;
        nextAt = nowMs() + 20;
      }
      free(event);
    }
    if (xcb_connection_has_error(c)) {
      fprintf(stderr, "main_loop_ping: the display closed\n");
      return 1;
    }
  }
  if (awaited && nowMs() - sentAt > longest) longest = nowMs() - sentAt;
  printf("%.0f\npings: %lu\n", longest, pings);
  xcb_disconnect(c);
  return 0;
}
