/* The native tessalune_colour for the web build's differential test: reads cases from
 * standard input and writes what the module returns, byte for byte.
 * A case:  "FLAGS TEXTLEN FGLEN BGLEN\n" then the three texts' bytes.
 * An answer: "STATUS RESULTLEN ERRORLEN\n" then the bytes (a length of -1: NULL). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "plugin/abi/tessalune_plugin.h"

static char* readBytes(size_t length) {
  char* bytes = malloc(length + 1);
  if (!bytes || fread(bytes, 1, length, stdin) != length) exit(2);
  bytes[length] = '\0';
  return bytes;
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
    char* error = NULL;
    const int status = tessalune_colour(text, fg, bg, flags, &result, &error);
    printf("%d %ld %ld\n", status, result ? (long)strlen(result) : -1L, error ? (long)strlen(error) : -1L);
    writeText(result);
    writeText(error);
    fflush(stdout);
    tessalune_free(result);
    tessalune_free(error);
    free(text);
    free(fg);
    free(bg);
  }
  return 0;
}
