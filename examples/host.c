/* A chat host in C: loads the Tessalune module through its C interface, colours a
 * nickname and prints the line the plug-in returns.
 *
 *   cc host.c $(pkg-config --cflags --libs tessalune-plugin) -o host
 *   ./host PLUGIN_DIR "Tessalune"
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <tessalune_plugin.h>

static const char* friendly_name(void* context) {
  return (const char*)context;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s PLUGIN_DIR NICKNAME\n", argv[0]);
    return 2;
  }
  if (tessalune_abi_version() >> 16 != TESSALUNE_ABI_MAJOR) {
    fprintf(stderr, "host: the module has another interface version\n");
    return 1;
  }
  tessalune_plugin* plugin = tessalune_create(argv[1], "yes", "/dev/null");
  if (plugin == NULL) {
    fprintf(stderr, "host: the plug-in could not be created\n");
    return 1;
  }
  tessalune_host host;
  memset(&host, 0, sizeof host);
  host.size = sizeof host;
  host.context = argv[2];
  host.friendly_name = friendly_name;
  host.windows = TESSALUNE_WINDOWS_SCRIPTED;
  char* result = NULL;
  int status = 1;
  /* An empty window script: a window the command opens closes at once. */
  if (tessalune_initialize(plugin, 0, "", &host) != TESSALUNE_FAILED &&
      tessalune_parse_command(plugin, "/xtessalune", argv[2], "", &result) != TESSALUNE_FAILED) {
    printf("%s\n", result ? result : "");
    status = 0;
  } else {
    char* error = tessalune_last_error(plugin);
    fprintf(stderr, "host: %s\n", error ? error : "the plug-in failed");
    tessalune_free(error);
  }
  tessalune_free(result);
  tessalune_uninitialize(plugin);
  tessalune_destroy(plugin);
  return status;
}
