/* A C host that uses and misuses the plug-in module's interface the ways a host can: every
 * call must return or behave as the header says, with no invalid memory access (CI runs this
 * under valgrind, and under AddressSanitizer in the sanitizer build). Exit status: the number
 * of checks that failed. */
#include <fcntl.h>
#include <pthread.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tessalune_plugin.h"

static int failures = 0;

#define CHECK(condition)                                                      \
  do {                                                                        \
    if (!(condition)) {                                                       \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                             \
    }                                                                         \
  } while (0)

/* The last error of plugin is text. */
static int saidWhy(tessalune_plugin* plugin, const char* text) {
  char* why = tessalune_last_error(plugin);
  const int same = why != NULL && strcmp(why, text) == 0;
  if (!same) fprintf(stderr, "  last error: %s (expected %s)\n", why ? why : "(none)", text);
  tessalune_free(why);
  return same;
}

/* The last call of plugin on this thread did not fail. */
static int saidNothing(tessalune_plugin* plugin) {
  char* why = tessalune_last_error(plugin);
  tessalune_free(why);
  return why == NULL;
}

static char folders[16][64];
static int folderCount = 0;

/* A plug-in folder of its own, with the data folder a host installs; removed at the end. */
static char* newFolder(void) {
  if (folderCount == 16) abort();
  char* folder = folders[folderCount++];
  strcpy(folder, "/tmp/tessalune-abi-XXXXXX");
  if (!mkdtemp(folder)) abort();
  char data[sizeof folders[0] + 16];
  snprintf(data, sizeof data, "%s/Tessalune", folder);
  mkdir(data, 0755);
  return folder;
}

static int parse(tessalune_plugin* plugin, const char* command, const char* argument) {
  char* result = NULL;
  const int status = tessalune_parse_command(plugin, command, argument, "", &result);
  tessalune_free(result);
  return status;
}

/* What a callback does, and what the call it made returned. */
struct Reentry {
  tessalune_plugin* plugin;
  int (*call)(struct Reentry*);
  int returned;
  int calls;
};

static int answer(void* context, const char* text, const char* title, int icon, int buttons) {
  (void)text, (void)title, (void)icon, (void)buttons;
  struct Reentry* r = context;
  if (r->call && r->calls++ == 0) r->returned = r->call(r);
  return TESSALUNE_ANSWER_YES;
}

static const char* nickname(void* context) {
  struct Reentry* r = context;
  if (r->call && r->calls++ == 0) r->returned = r->call(r);
  return "Neo";
}

static tessalune_host hostFor(struct Reentry* r) {
  tessalune_host host;
  memset(&host, 0, sizeof host);
  host.size = sizeof host;
  host.context = r;
  host.friendly_name = nickname;
  host.message_box = answer;
  return host;
}

static int callUninitialize(struct Reentry* r) {
  return tessalune_uninitialize(r->plugin);
}
static int callInitialize(struct Reentry* r) {
  const tessalune_host host = hostFor(r);
  return tessalune_initialize(r->plugin, 0, "", &host);
}
static int callDestroy(struct Reentry* r) {
  tessalune_destroy(r->plugin);
  return 0;
}
static int callPublishInfo(struct Reentry* r) {
  char* name = NULL;
  int32_t commands = 0, tags = 0;
  const int status = tessalune_get_publish_info(r->plugin, &name, &commands, &tags);
  tessalune_free(name);
  return status;
}

static int callIdle(struct Reentry* r) {
  return tessalune_idle(r->plugin, NULL, NULL);
}

/* Calls out of turn: before initialize, twice, after uninitialize. */
static void callsOutOfTurn(void) {
  struct Reentry r = {0};
  r.plugin = tessalune_create(newFolder(), "yes", "/dev/null");
  const tessalune_host host = hostFor(&r);
  CHECK(parse(r.plugin, "/xtessalune", "a") == TESSALUNE_FAILED && saidWhy(r.plugin, "not initialized"));
  CHECK(tessalune_configure(r.plugin) == TESSALUNE_FAILED && saidWhy(r.plugin, "not initialized"));
  CHECK(tessalune_uninitialize(r.plugin) == TESSALUNE_FAILED && saidWhy(r.plugin, "not initialized"));
  CHECK(tessalune_idle(r.plugin, NULL, NULL) == 1);                       /* nothing to do yet */
  CHECK(tessalune_initialize(r.plugin, 0, "", NULL) == TESSALUNE_FAILED); /* not initialized by it */
  CHECK(tessalune_initialize(r.plugin, 0, "", &host) == 1);
  CHECK(tessalune_initialize(r.plugin, 0, "", &host) == TESSALUNE_FAILED &&
        saidWhy(r.plugin, "already initialized"));
  CHECK(parse(r.plugin, "/xquicknicksave", "a") == 1);
  CHECK(tessalune_uninitialize(r.plugin) == 1);
  CHECK(parse(r.plugin, "/xquicknick", "a") == TESSALUNE_FAILED && saidWhy(r.plugin, "not initialized"));
  CHECK(tessalune_initialize(r.plugin, 0, "", &host) == 1); /* loaded anew */
  CHECK(tessalune_uninitialize(r.plugin) == 1);
  tessalune_destroy(r.plugin);
}

/* A callback calls back into the object that called it. */
static void callsFromInsideCallbacks(void) {
  struct {
    const char* command;
    const char* argument;
    int (*call)(struct Reentry*);
    int returns;
  } cases[] = {
      {"/xquicknicksave", "a", callUninitialize, TESSALUNE_FAILED}, /* from friendly_name */
      {"/xquicknicksave", "b", callInitialize, TESSALUNE_FAILED},
      {"/xquicknick", "no-such-shortcut", callInitialize, TESSALUNE_FAILED}, /* from message_box */
      {"/xquicknicksave", "c", callPublishInfo, 1},                          /* reading is allowed */
      {"/xquicknicksave", "d", callIdle, TESSALUNE_FAILED},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    struct Reentry r = {0};
    r.plugin = tessalune_create(newFolder(), "yes", "/dev/null");
    const tessalune_host host = hostFor(&r);
    CHECK(tessalune_initialize(r.plugin, 0, "", &host) == 1);
    r.call = cases[i].call;
    CHECK(parse(r.plugin, cases[i].command, cases[i].argument) == 1);
    CHECK(r.calls >= 1 && r.returned == cases[i].returns);
    if (cases[i].returns == TESSALUNE_FAILED) CHECK(saidWhy(r.plugin, "called from inside a callback"));
    r.call = NULL;
    CHECK(parse(r.plugin, "/xquicknick", "") == 1); /* the plug-in goes on */
    CHECK(tessalune_uninitialize(r.plugin) == 1);
    tessalune_destroy(r.plugin);
  }
  /* Destroyed from inside a callback: gone once the command has returned. */
  struct Reentry r = {0};
  r.plugin = tessalune_create(newFolder(), "yes", "/dev/null");
  const tessalune_host host = hostFor(&r);
  CHECK(tessalune_initialize(r.plugin, 0, "", &host) == 1);
  r.call = callDestroy;
  CHECK(parse(r.plugin, "/xquicknicksave", "d") == 1);
}

/* A start-up that fails on a loop of links leaves no lock held. */
static void aFailedStartUpKeepsNoLock(void) {
  struct Reentry r = {0};
  const char* folder = newFolder();
  char config[128], lock[128];
  snprintf(config, sizeof config, "%s/Tessalune/tessalune.xml", folder);
  snprintf(lock, sizeof lock, "%s/Tessalune/tessalune.xml.lock", folder);
  CHECK(symlink(config, config) == 0);
  r.plugin = tessalune_create(folder, "yes", "/dev/null");
  const tessalune_host host = hostFor(&r);
  CHECK(tessalune_initialize(r.plugin, 0, "", &host) == 1); /* halted, but initialized */
  CHECK(parse(r.plugin, "/xtessalune", "a") == 0);          /* every command ignored */
  const int fd = open(lock, O_RDWR);
  CHECK(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0); /* another writer may go on */
  if (fd >= 0) close(fd);
  CHECK(tessalune_uninitialize(r.plugin) == 1);
  tessalune_destroy(r.plugin);
}

/* A second thread's call while the first one's runs. */
struct Threads {
  pthread_mutex_t mutex;
  pthread_cond_t changed;
  int firstInside, secondDone, secondReturned;
  char* secondSaid;
  tessalune_plugin* plugin;
};

static const char* waitingNickname(void* context) {
  struct Threads* t = context;
  pthread_mutex_lock(&t->mutex);
  t->firstInside = 1;
  pthread_cond_broadcast(&t->changed);
  while (!t->secondDone) pthread_cond_wait(&t->changed, &t->mutex);
  pthread_mutex_unlock(&t->mutex);
  return "Neo";
}

static void* secondThread(void* context) {
  struct Threads* t = context;
  pthread_mutex_lock(&t->mutex);
  while (!t->firstInside) pthread_cond_wait(&t->changed, &t->mutex);
  pthread_mutex_unlock(&t->mutex);
  const int returned = parse(t->plugin, "/xquicknick", "");
  char* said = tessalune_last_error(t->plugin);
  pthread_mutex_lock(&t->mutex);
  t->secondReturned = returned;
  t->secondSaid = said;
  t->secondDone = 1;
  pthread_cond_broadcast(&t->changed);
  pthread_mutex_unlock(&t->mutex);
  return NULL;
}

static void aSecondThreadIsRefused(void) {
  struct Threads t;
  memset(&t, 0, sizeof t);
  pthread_mutex_init(&t.mutex, NULL);
  pthread_cond_init(&t.changed, NULL);
  t.plugin = tessalune_create(newFolder(), "yes", "/dev/null");
  tessalune_host host;
  memset(&host, 0, sizeof host);
  host.size = sizeof host;
  host.context = &t;
  host.friendly_name = waitingNickname;
  CHECK(tessalune_initialize(t.plugin, 0, "", &host) == 1);
  pthread_t second;
  pthread_create(&second, NULL, secondThread, &t);
  CHECK(parse(t.plugin, "/xquicknicksave", "a") == 1);
  pthread_join(second, NULL);
  CHECK(t.secondReturned == TESSALUNE_FAILED);
  CHECK(t.secondSaid != NULL && strcmp(t.secondSaid, "in use by another thread") == 0);
  tessalune_free(t.secondSaid);
  CHECK(saidNothing(t.plugin)); /* the first thread's call did not fail */
  CHECK(tessalune_uninitialize(t.plugin) == 1);
  tessalune_destroy(t.plugin);
  pthread_cond_destroy(&t.changed);
  pthread_mutex_destroy(&t.mutex);
}

/* What the windows of one host showed: the boxes it was given, the last one's text. */
struct WindowHost {
  int boxes;
  int icon;
  char text[512];
};

static const char* plainNickname(void* context) {
  (void)context;
  return "Neo";
}

static int recordBox(void* context, const char* text, const char* title, int icon, int buttons) {
  (void)title, (void)buttons;
  struct WindowHost* h = context;
  ++h->boxes;
  h->icon = icon;
  snprintf(h->text, sizeof h->text, "%s", text);
  return TESSALUNE_ANSWER_YES;
}

/* Standard input is a pipe holding one window command, standard error a file: afterwards,
 * whether the command is still unread and how much was written. */
struct Terminal {
  int savedIn, savedErr;
  char errPath[64];
};

static void takeTerminal(struct Terminal* t) {
  int fds[2];
  if (pipe(fds) != 0) abort();
  static const char line[] = "# a window command\n";
  if (write(fds[1], line, sizeof line - 1) != (ssize_t)(sizeof line - 1)) abort();
  close(fds[1]);
  t->savedIn = dup(0);
  dup2(fds[0], 0);
  close(fds[0]);
  strcpy(t->errPath, "/tmp/tessalune-abi-err-XXXXXX");
  const int err = mkstemp(t->errPath);
  if (err < 0) abort();
  fflush(stderr);
  t->savedErr = dup(2);
  dup2(err, 2);
  close(err);
}

/* Gives the terminal back; sets whether the command was left unread and what was written. */
static void giveTerminalBack(struct Terminal* t, int* inputUnread, long* errorBytes) {
  char byte;
  *inputUnread = read(0, &byte, 1) == 1;
  fflush(stderr);
  struct stat written;
  *errorBytes = stat(t->errPath, &written) == 0 ? (long)written.st_size : -1;
  dup2(t->savedIn, 0);
  dup2(t->savedErr, 2);
  close(t->savedIn);
  close(t->savedErr);
  unlink(t->errPath);
}

/* Windows show as the host's structure asks; one from before the choice has them on the
 * terminal. Preferences opens from the host's configure call. The case that reads standard
 * input comes last: what it leaves at the end of its input is the process's. */
static void windowsShowAsTheHostChose(void) {
  const size_t withoutWindows = offsetof(tessalune_host, windows);
  struct {
    size_t size;
    int windows;
    int started;     /* what tessalune_initialize returns */
    int boxes;       /* boxes the host was given while Preferences opened */
    int inputUnread; /* nothing was read from standard input */
    int errorSilent; /* nothing was written on standard error */
  } const cases[] = {
      {sizeof(tessalune_host), TESSALUNE_WINDOWS_REFUSED, 1, 1, 1, 1},
      {sizeof(tessalune_host), TESSALUNE_WINDOWS_SCRIPTED, 1, 0, 1, 1},
      {sizeof(tessalune_host), 7, TESSALUNE_FAILED, 0, 1, 1},
      {withoutWindows, TESSALUNE_WINDOWS_REFUSED, 1, 0, 0, 1},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    struct WindowHost h = {0};
    tessalune_host host;
    memset(&host, 0, sizeof host);
    host.size = cases[i].size;
    host.context = &h;
    host.friendly_name = plainNickname;
    host.message_box = recordBox;
    host.windows = cases[i].windows;
    struct Terminal t;
    takeTerminal(&t);
    tessalune_plugin* plugin = tessalune_create(newFolder(), NULL, NULL);
    const int started = tessalune_initialize(plugin, 0, "", &host);
    h.boxes = 0;
    const int configured = started == 1 ? tessalune_configure(plugin) : 0;
    if (started == 1) tessalune_uninitialize(plugin);
    tessalune_destroy(plugin);
    int inputUnread = 0;
    long errorBytes = 0;
    giveTerminalBack(&t, &inputUnread, &errorBytes);
    if (h.boxes != cases[i].boxes || inputUnread != cases[i].inputUnread ||
        (errorBytes == 0) != cases[i].errorSilent)
      fprintf(stderr, "  case %zu: %d boxes, input %s, %ld bytes on standard error\n", i, h.boxes,
              inputUnread ? "unread" : "read", errorBytes);
    CHECK(started == cases[i].started);
    CHECK(configured == (started == 1));
    CHECK(h.boxes == cases[i].boxes);
    CHECK(inputUnread == cases[i].inputUnread);
    CHECK((errorBytes == 0) == cases[i].errorSilent);
    if (cases[i].boxes) CHECK(h.icon == TESSALUNE_ICON_INFORMATION && strstr(h.text, "is a window") != NULL);
  }
}

/* Colouring tells its four outcomes apart, each with only its own string set; asked for a
 * target, it writes the target's codes within the target's limit. */
static void colouringTellsItsOutcome(void) {
  CHECK(tessalune_abi_version() == ((uint32_t)TESSALUNE_ABI_MAJOR << 16 | TESSALUNE_ABI_MINOR));
  CHECK(TESSALUNE_ABI_MINOR >= 6);
  char longNick[127];
  memset(longNick, 'n', sizeof longNick - 1);
  longNick[sizeof longNick - 1] = '\0';
  static const char* const thinned =
      "The nickname is too long to be colored. Do you want to keep it nonetheless?";
  struct {
    const char* text;
    const char* fg;
    int flags;
    int outcome;
    const char* said;   /* the one string set, or NULL for any non-empty text */
    int as;             /* through tessalune_colour_as with the target and limit below */
    const char* target; /* NULL: Plus! codes */
    int limit;
  } const cases[] = {
      {"Hi", "solid:#FF0000", TESSALUNE_COLOUR_NO_END, TESSALUNE_OUTCOME_OK, "\xC2\xB7$4Hi", 0, NULL, 0},
      {longNick, "grad:#FF0000:#0000FF", TESSALUNE_COLOUR_KEEP_THINNED, TESSALUNE_OUTCOME_OK, NULL, 0, NULL,
       0},
      {"", "rainbow", 0, TESSALUNE_OUTCOME_REFUSED, "You must type a nick.", 0, NULL, 0},
      {longNick, "grad:#FF0000:#0000FF", 0, TESSALUNE_OUTCOME_QUESTION, thinned, 0, NULL, 0},
      {"x", "grad:#FF0000", 0, TESSALUNE_OUTCOME_INVALID,
       "fg: a gradient goes through 2 to 10 colours, not 1", 0, NULL, 0},
      {NULL, "rainbow", 0, TESSALUNE_OUTCOME_INVALID, "no text was given", 0, NULL, 0},
      {"x", "rainbow", 1 << 20, TESSALUNE_OUTCOME_INVALID, "unknown flags 1048576", 0, NULL, 0},
      {"Hi", "solid:#FF0000", TESSALUNE_COLOUR_NO_END, TESSALUNE_OUTCOME_OK, "\xC2\xB7$4Hi", 1, NULL, 0},
      {"Hi", "solid:#FF0000", TESSALUNE_COLOUR_NO_END, TESSALUNE_OUTCOME_OK, "\xC2\xB7$4Hi", 1, "plus", 0},
      {longNick, "grad:#FF0000:#0000FF", 0, TESSALUNE_OUTCOME_QUESTION, thinned, 1, "plus", 0},
      {"Hi", "solid:#FF0000", 0, TESSALUNE_OUTCOME_OK, NULL, 1, "html", 0},
      {"Hello", "rainbow", 0, TESSALUNE_OUTCOME_REFUSED,
       "The text is too long for this target (more than 4 characters).", 1, "html", 4},
      {"x", "rainbow", 0, TESSALUNE_OUTCOME_INVALID, "unknown target 'irc2'", 1, "irc2", 0},
      {"x", "rainbow", 0, TESSALUNE_OUTCOME_INVALID, "unknown target ''", 1, "", 0},
      {"x", "rainbow", 0, TESSALUNE_OUTCOME_INVALID, "the limit -1 is below 0", 1, "html", -1},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    char* result = NULL;
    char* question = NULL;
    char* error = NULL;
    const int outcome = cases[i].as
                            ? tessalune_colour_as(cases[i].text, cases[i].fg, NULL, cases[i].flags,
                                                  cases[i].target, cases[i].limit, &result, &question, &error)
                            : tessalune_colour_outcome(cases[i].text, cases[i].fg, NULL, cases[i].flags,
                                                       &result, &question, &error);
    const char* said = cases[i].outcome == TESSALUNE_OUTCOME_OK         ? result
                       : cases[i].outcome == TESSALUNE_OUTCOME_QUESTION ? question
                                                                        : error;
    if (outcome != cases[i].outcome) fprintf(stderr, "  case %zu: outcome %d\n", i, outcome);
    CHECK(outcome == cases[i].outcome);
    if (said && cases[i].said && strcmp(said, cases[i].said) != 0)
      fprintf(stderr, "  case %zu: %s\n", i, said);
    CHECK(said != NULL && (cases[i].said ? strcmp(said, cases[i].said) == 0 : said[0] != '\0'));
    CHECK((result != NULL) + (question != NULL) + (error != NULL) == 1);
    tessalune_free(result);
    tessalune_free(question);
    tessalune_free(error);
  }
  /* Nowhere to put the answer: nothing is set. */
  char* result = NULL;
  char* error = NULL;
  CHECK(tessalune_colour_outcome("x", "rainbow", NULL, 0, &result, NULL, &error) ==
        TESSALUNE_OUTCOME_INVALID);
  CHECK(result == NULL && error == NULL);
}

int main(void) {
  colouringTellsItsOutcome();
  callsOutOfTurn();
  callsFromInsideCallbacks();
  aFailedStartUpKeepsNoLock();
  aSecondThreadIsRefused();
  windowsShowAsTheHostChose();
  for (int i = 0; i < folderCount; ++i) {
    char command[sizeof folders[0] + 16];
    snprintf(command, sizeof command, "rm -rf '%.63s'", folders[i]);
    if (system(command) != 0) ++failures;
  }
  if (failures) fprintf(stderr, "%d checks failed\n", failures);
  return failures;
}
