/* The native tessalune_colour_outcome for the web build's differential test: reads cases
 * from standard input and writes what the module returns, byte for byte.
 * A case:  "FLAGS TEXTLEN FGLEN BGLEN\n" then the three texts' bytes.
 * An answer: "OUTCOME RESULTLEN QUESTIONLEN ERRORLEN\n" then the bytes (a length of -1:
 * NULL), OUTCOME named as the web module names it. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "tessalune_plugin.h"

static char* readBytes(size_t length) {
  char* bytes = malloc(length + 1);
  if (!bytes || fread(bytes, 1, length, stdin) != length) exit(2);
  bytes[length] = '\0';
  return bytes;
}

static const char* outcomeName(int outcome) {
  switch (outcome) {
    case TESSALUNE_OUTCOME_OK:
      return "ok";
    case TESSALUNE_OUTCOME_REFUSED:
      return "refused";
    case TESSALUNE_OUTCOME_QUESTION:
      return "question";
    case TESSALUNE_OUTCOME_INVALID:
      return "invalid";
    default:
      return "unknown";
  }
}

static long lengthOf(const char* text) {
  return text ? (long)strlen(text) : -1L;
}

static void writeText(const char* text) {
  if (text) fwrite(text, 1, strlen(text), stdout);
}

int main(void) {
  int flags;
  size_t textLength, fgLength, bgLength;
  while (scanf("%d %zu %zu %zu", &flags, &textLength, &fgLength, &bgLength) == 4) {
    if (getchar() != '\n') return 2;
    char* text = readBytes(textLength);
    char* fg = readBytes(fgLength);
    char* bg = readBytes(bgLength);
    char* result = NULL;
    char* question = NULL;
    char* error = NULL;
    const int outcome = tessalune_colour_outcome(text, fg, bg, flags, &result, &question, &error);
    printf("%s %ld %ld %ld\n", outcomeName(outcome), lengthOf(result), lengthOf(question), lengthOf(error));
    writeText(result);
    writeText(question);
    writeText(error);
    fflush(stdout);
    tessalune_free(result);
    tessalune_free(question);
    tessalune_free(error);
    free(text);
    free(fg);
    free(bg);
  }
  return 0;
}
