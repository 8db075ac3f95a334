/* The Tessalune plug-in module's C interface, for hosts that load it with dlopen.
 *
 * Strings are UTF-8 and NUL-terminated. Strings the plug-in returns are allocated by it and
 * must be released with tessalune_free; strings the host passes stay the host's.
 *
 * Message boxes go to the host's message_box callback when it gives one, else they are
 * printed on standard error and questions take the answer given at creation. The host
 * chooses how windows show (tessalune_host.windows): not at all, as in a client without a
 * display, each one a message box that says so; driven by the window script given at
 * creation; or on the terminal, by the module's terminal view, which reads its commands
 * from the script given at creation, else from standard input.
 *
 * One plug-in object is used from one thread at a time: a call made on it while another
 * thread's call runs returns TESSALUNE_FAILED, with the last error "in use by another
 * thread". tessalune_destroy must not be called while another thread's call runs.
 *
 * From inside a callback of the host's (friendly_name, message_box), a call on the same
 * object to tessalune_initialize, tessalune_uninitialize, tessalune_configure or
 * tessalune_parse_command returns TESSALUNE_FAILED ("called from inside a callback");
 * tessalune_destroy there takes effect when the call that ran the callback returns.
 *
 * tessalune_initialize is called once before the other three and not again before
 * tessalune_uninitialize ("already initialized"); tessalune_parse_command,
 * tessalune_configure and tessalune_uninitialize before it, or after
 * tessalune_uninitialize, return TESSALUNE_FAILED ("not initialized"). A start-up that
 * failed leaves the plug-in initialized (and ignoring every command); an initialize that
 * returned TESSALUNE_FAILED does not.
 */
#ifndef TESSALUNE_PLUGIN_H
#define TESSALUNE_PLUGIN_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define TESSALUNE_API __attribute__((visibility("default")))
#else
#define TESSALUNE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Each minor version adds to the one before: 1.1 tessalune_colour, 1.2 tessalune_idle, 1.3
 * the whole-text format flags of tessalune_colour, 1.4 tessalune_colour_outcome and its
 * TESSALUNE_OUTCOME_ values, 1.5 the host's choice of how windows show
 * (tessalune_host.windows and the TESSALUNE_WINDOWS_ values), 1.6 tessalune_colour_as. */
#define TESSALUNE_ABI_MAJOR 1
#define TESSALUNE_ABI_MINOR 6

/* The result of a call that failed. */
#define TESSALUNE_FAILED (-1)

typedef struct tessalune_plugin tessalune_plugin;

/* The version of the interface the module implements: the major in the high 16 bits, the
 * minor in the low 16 bits. */
TESSALUNE_API uint32_t tessalune_abi_version(void);

/* Icons and buttons of a message box, and its answers. */
enum {
  TESSALUNE_ICON_NONE = 0,
  TESSALUNE_ICON_CRITICAL = 1,
  TESSALUNE_ICON_EXCLAMATION = 2,
  TESSALUNE_ICON_QUESTION = 3,
  TESSALUNE_ICON_INFORMATION = 4
};
enum { TESSALUNE_BUTTONS_OK = 0, TESSALUNE_BUTTONS_YES_NO = 1 };
enum { TESSALUNE_ANSWER_OK = 0, TESSALUNE_ANSWER_YES = 1, TESSALUNE_ANSWER_NO = 2 };

/* How the plug-in's windows show; from interface version 1.5.
 * - TESSALUNE_WINDOWS_REFUSED: no window shows, as in a client without a display. A command
 *   that would open one shows a message box saying so instead (through message_box, else on
 *   standard error), and the window is left as if cancelled. Nothing is read from the
 *   terminal: a question without message_box takes the answer given at creation, else yes.
 * - TESSALUNE_WINDOWS_SCRIPTED: the window script given at creation drives the windows;
 *   without one, each window closes as soon as it opens.
 * - TESSALUNE_WINDOWS_TERMINAL: the module's terminal view shows the windows; it reads its
 *   commands from the window script given at creation, else from standard input (with a
 *   prompt on a terminal), and prints the windows on standard error. This is how a host
 *   structure from before version 1.5, which lacks the field, has its windows shown. */
enum { TESSALUNE_WINDOWS_REFUSED = 0, TESSALUNE_WINDOWS_SCRIPTED = 1, TESSALUNE_WINDOWS_TERMINAL = 2 };

typedef struct tessalune_host {
  /* sizeof(tessalune_host) as the host was built; the module reads no field past it. */
  size_t size;
  void* context;
  /* The signed-in user's friendly name (the current nickname); required. */
  const char* (*friendly_name)(void* context);
  /* A modal message box; may be NULL. Returns a TESSALUNE_ANSWER_ value. */
  int (*message_box)(void* context, const char* text, const char* title, int icon, int buttons);
  /* How windows show: a TESSALUNE_WINDOWS_ value; from interface version 1.5. */
  int windows;
} tessalune_host;

/* Creates the plug-in for the plug-in folder plugin_dir. answer is "yes", "no" or NULL (ask
 * on the terminal when windows show there, else yes); window_script is a file of window
 * commands or NULL. Returns NULL when it cannot be created. */
TESSALUNE_API tessalune_plugin* tessalune_create(const char* plugin_dir, const char* answer,
                                                 const char* window_script);
TESSALUNE_API void tessalune_destroy(tessalune_plugin* plugin);

/* The six calls of the plug-in interface. Each returns 1 when it did its work and
 * TESSALUNE_FAILED when it failed; tessalune_parse_command also returns 0 for a command
 * that is not the plug-in's. The host structure is copied; the module keeps none of the
 * host's pointers but its callbacks and context. */
TESSALUNE_API int tessalune_initialize(tessalune_plugin* plugin, int32_t version, const char* user_email,
                                       const tessalune_host* host);
TESSALUNE_API int tessalune_uninitialize(tessalune_plugin* plugin);
TESSALUNE_API int tessalune_configure(tessalune_plugin* plugin);
/* Sets *name (to release), *command_count and *tag_count. */
TESSALUNE_API int tessalune_get_publish_info(tessalune_plugin* plugin, char** name, int32_t* command_count,
                                             int32_t* tag_count);
/* Fills the row of the command table: *name, *value and *help receive new strings, or NULL
 * where the row leaves the host's string as it was (an index outside 1 to 8, or no help). */
TESSALUNE_API int tessalune_get_publish_command_info(tessalune_plugin* plugin, int32_t index, char** name,
                                                     char** value, char** help);
/* Runs a typed command: 1 handled, 0 not the plug-in's, TESSALUNE_FAILED when it failed
 * (the host then sends nothing). result_in is the host's result string; *result_out
 * receives the result string afterwards (a new string, equal to result_in when the
 * plug-in left it), or NULL after a failure. */
TESSALUNE_API int tessalune_parse_command(tessalune_plugin* plugin, const char* command, const char* argument,
                                          const char* result_in, char** result_out);

/* Gives the plug-in the host's idle time for the work it keeps out of every command and
 * window: the automatic update check, once after each start-up. While that work waits for
 * the network it calls keep_waiting(context) every few tens of milliseconds and gives up
 * as soon as it returns 0 (the user typed, or the host's time ran out); keep_waiting may be
 * NULL, the work then ending by the version file's deadline (30 s, whatever the server
 * sends). A host calls it when it has nothing else to do, never before a command it could
 * run. Before
 * tessalune_initialize, and once the work is done, it returns at once. Returns 1, or
 * TESSALUNE_FAILED as tessalune_configure does. Available from interface version 1.2. */
TESSALUNE_API int tessalune_idle(tessalune_plugin* plugin, int (*keep_waiting)(void* context), void* context);

/* Why the last call this thread made on the plug-in failed, as a new string (to release),
 * or NULL when it did not fail. */
TESSALUNE_API char* tessalune_last_error(tessalune_plugin* plugin);

TESSALUNE_API void tessalune_free(char* text);

/* Flags of tessalune_colour. */
enum {
  TESSALUNE_COLOUR_MESSAGE = 1,      /* message mode: 1100 characters, no end code */
  TESSALUNE_COLOUR_NO_END = 2,       /* nickname mode without the end code (the suffix option) */
  TESSALUNE_COLOUR_KEEP_THINNED = 4, /* keep a text whose colours had to be thinned to fit */
  /* Formats over the whole text, as the editor's format buttons give them with nothing
   * selected; from interface version 1.3. */
  TESSALUNE_COLOUR_BOLD = 8,
  TESSALUNE_COLOUR_ITALIC = 16,
  TESSALUNE_COLOUR_UNDERLINE = 32,
  TESSALUNE_COLOUR_STRIKE = 64
};

/* Colours text directly, as a command with an argument does, with a style for the text and
 * one for the background: no plug-in object, no message box, no file. A style is
 * "solid:#RRGGBB", "gradN:#RRGGBB:#RRGGBB" (N 1 to 4: colour 1 to colour 2 linear, the
 * reverse, then both mirrored), "grad:#RRGGBB:#RRGGBB[:#RRGGBB...]" (a gradient through 2
 * to 10 colours), "mirror:..." (the same, mirrored) or "rainbow"; bg may also be "none" or
 * NULL for no background. Nickname mode (129 characters and an end code) unless flags say
 * otherwise; a text whose colours had to be thinned to fit is refused unless
 * TESSALUNE_COLOUR_KEEP_THINNED.
 * Returns 1 with *result the Plus! text; 0 when the text was refused, with *error the
 * refusal (the message the plug-in would show); TESSALUNE_FAILED for a wrong argument, with
 * *error naming it. The string set is to be released with tessalune_free; the other is
 * set to NULL. Available from interface version 1.1. */
TESSALUNE_API int tessalune_colour(const char* text, const char* fg, const char* bg, int flags, char** result,
                                   char** error);

/* What tessalune_colour_outcome made of a text; from interface version 1.4. */
enum {
  TESSALUNE_OUTCOME_INVALID = TESSALUNE_FAILED, /* a wrong argument, or no memory */
  TESSALUNE_OUTCOME_REFUSED = 0,                /* the text cannot be coloured as asked */
  TESSALUNE_OUTCOME_OK = 1,                     /* coloured */
  TESSALUNE_OUTCOME_QUESTION = 2                /* coloured only if the user keeps fewer colours */
};

/* Colours text as tessalune_colour does, and says which of four outcomes it came to:
 * - TESSALUNE_OUTCOME_OK: *result is the Plus! text;
 * - TESSALUNE_OUTCOME_REFUSED: *error is the refusal (the message the plug-in would show);
 * - TESSALUNE_OUTCOME_QUESTION: the colours had to be thinned to fit and flags lack
 *   TESSALUNE_COLOUR_KEEP_THINNED; *question is what the plug-in would ask. A host asks it
 *   and, when the user keeps the text, colours again with TESSALUNE_COLOUR_KEEP_THINNED;
 * - TESSALUNE_OUTCOME_INVALID: *error names the wrong argument.
 * Where tessalune_colour returns 0 for a question, its *error is "declined: " followed by
 * the question; this function keeps the question apart instead. Each of result, question
 * and error is set to a string to release with tessalune_free, or to NULL when the outcome
 * does not use it; when any of the three is NULL, the call returns
 * TESSALUNE_OUTCOME_INVALID and sets none. Available from interface version 1.4. */
TESSALUNE_API int tessalune_colour_outcome(const char* text, const char* fg, const char* bg, int flags,
                                           char** result, char** question, char** error);

/* Colours text as tessalune_colour_outcome does and writes the result in the codes of a
 * target, its colours thinned to fit the target's limit (when the plain text is already over
 * it, the outcome is TESSALUNE_OUTCOME_REFUSED with a message naming the limit). target is
 * one of "plus" (Plus! codes, as tessalune_colour_outcome), "irc" and "irc-hex" (IRC colour
 * codes; 400 bytes of UTF-8), "html" (spans with CSS styles; no limit), "bbcode" (forum
 * codes; no limit, no background), "ansi" (24-bit terminal codes; no limit), "minecraft"
 * ("&#RRGGBB" codes; 256 characters, no background) and "minimessage" (MiniMessage tags; 256
 * characters, no background); NULL is "plus". "plus" keeps its limits of 129 characters for a
 * nickname and 1100 for a message. limit above 0 replaces the target's limit, in its unit;
 * 0 keeps it. A target without a limit still refuses a text longer than a gradient reaches
 * (32767 characters). An unknown target or a limit below 0 is TESSALUNE_OUTCOME_INVALID,
 * *error naming it. Available from interface version 1.6. */
TESSALUNE_API int tessalune_colour_as(const char* text, const char* fg, const char* bg, int flags,
                                      const char* target, int limit, char** result, char** question,
                                      char** error);

#ifdef __cplusplus
}
#endif

#endif
