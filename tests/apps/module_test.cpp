#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/config_fixture.h"
#include "tessalune_plugin.h"

namespace {

// Loads the module the way a host does and plays commands through its C interface.
class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module = ::dlopen(TESSALUNE_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
  }
  void TearDown() override {
    if (module) ::dlclose(module);
  }
  template <typename F>
  F* symbol(const char* name) {
    return reinterpret_cast<F*>(::dlsym(module, name));
  }

  void* module = nullptr;
  tessalune::testing::TempPluginDir dir;
};

const char* friendlyName(void*) {
  return "\u00B7#Neo";
}

int answerYes(void* context, const char*, const char*, int, int) {
  ++*static_cast<int*>(context);
  return TESSALUNE_ANSWER_YES;
}

TEST_F(ModuleTest, AHostLoadsItAndRunsCommands) {
  auto* create = symbol<decltype(tessalune_create)>("tessalune_create");
  auto* destroy = symbol<decltype(tessalune_destroy)>("tessalune_destroy");
  auto* initialize = symbol<decltype(tessalune_initialize)>("tessalune_initialize");
  auto* uninitialize = symbol<decltype(tessalune_uninitialize)>("tessalune_uninitialize");
  auto* info = symbol<decltype(tessalune_get_publish_info)>("tessalune_get_publish_info");
  auto* commandInfo =
      symbol<decltype(tessalune_get_publish_command_info)>("tessalune_get_publish_command_info");
  auto* parse = symbol<decltype(tessalune_parse_command)>("tessalune_parse_command");
  auto* release = symbol<decltype(tessalune_free)>("tessalune_free");
  ASSERT_TRUE(create && destroy && initialize && uninitialize && info && commandInfo && parse && release);

  tessalune_plugin* plugin = create(dir.path().c_str(), "yes", nullptr);
  ASSERT_NE(plugin, nullptr);
  int boxes = 0;
  auto* lastError = symbol<decltype(tessalune_last_error)>("tessalune_last_error");
  auto* version = symbol<decltype(tessalune_abi_version)>("tessalune_abi_version");
  ASSERT_TRUE(lastError && version);
  EXPECT_EQ(version() >> 16, TESSALUNE_ABI_MAJOR);
  const tessalune_host host{sizeof(tessalune_host), &boxes, friendlyName, answerYes,
                            TESSALUNE_WINDOWS_REFUSED};
  // A failed call is told apart from "no" and says why.
  EXPECT_EQ(initialize(plugin, 0, "", nullptr), TESSALUNE_FAILED);  // no messenger
  char* why = lastError(plugin);
  EXPECT_STREQ(why, "no host was given");
  release(why);
  tessalune_host tooSmall = host;
  tooSmall.size = sizeof(void*);
  EXPECT_EQ(initialize(plugin, 0, "", &tooSmall), TESSALUNE_FAILED);
  EXPECT_EQ(initialize(plugin, 0, "", &host), 1);
  EXPECT_EQ(lastError(plugin), nullptr);
  EXPECT_EQ(boxes, 2);  // through the host: the configuration recreated, the language file missing

  char* name = nullptr;
  int32_t count = 0, tags = 0;
  EXPECT_EQ(info(plugin, &name, &count, &tags), 1);
  EXPECT_STREQ(name, "Tessalune v2");
  EXPECT_EQ(count, 8);
  release(name);
  char *title = nullptr, *value = nullptr, *help = nullptr;
  commandInfo(plugin, 6, &title, &value, &help);
  EXPECT_STREQ(value, "xtessalunecfg");
  EXPECT_EQ(help, nullptr);
  release(title);
  release(value);

  char* result = nullptr;
  EXPECT_EQ(parse(plugin, nullptr, "w", "typed", &result), TESSALUNE_FAILED);
  EXPECT_EQ(result, nullptr);
  EXPECT_EQ(parse(plugin, "/xquicknicksave", "w", "typed", &result), 1);
  EXPECT_STREQ(result, "");
  release(result);
  EXPECT_EQ(parse(plugin, "/xquicknick", "w", "typed", &result), 1);
  EXPECT_STREQ(result, "/nick2 \u00B7$,0\u00B7#Neo\u00B70");
  release(result);
  EXPECT_EQ(parse(plugin, "/xnothing", "", "typed", &result), 0);
  EXPECT_STREQ(result, "typed");
  release(result);
  EXPECT_EQ(uninitialize(plugin), 1);
  destroy(plugin);
}

// Direct colouring through the C interface needs no plug-in object: a result, a refusal
// named, or a wrong argument named.
TEST_F(ModuleTest, ColoursWithoutAPlugin) {
  auto* colour = symbol<decltype(tessalune_colour)>("tessalune_colour");
  auto* release = symbol<decltype(tessalune_free)>("tessalune_free");
  ASSERT_TRUE(colour && release);
  struct Case {
    const char* text;
    const char* fg;
    const char* bg;
    int flags;
    int returned;
    std::string said;  // the result or the error, or how it starts
  };
  const std::string longNick(126, 'n');
  const Case cases[] = {
      {"Rainbow", "rainbow", nullptr, 0, 1,
       "\u00B7$4R\u00B7$#FF7F00a\u00B7$8i\u00B7$9n\u00B7$12b\u00B7$#4B0082o\u00B7$#9400D3w\u00B70"},
      {"Hi", "solid:#FF0000", "solid:#0000FF", TESSALUNE_COLOUR_NO_END, 1, "\u00B7$4,12Hi"},
      {"ab", "grad1:#000080:#0080FF", "none", TESSALUNE_COLOUR_MESSAGE, 1, "\u00B7$2a\u00B7$#0080FFb"},
      // The whole-text formats come out as the editor's buttons give them, in the same order.
      {"Hi", "solid:#FF0000", nullptr,
       TESSALUNE_COLOUR_BOLD | TESSALUNE_COLOUR_ITALIC | TESSALUNE_COLOUR_UNDERLINE | TESSALUNE_COLOUR_STRIKE,
       1, "\u00B7$4\u00B7#\u00B7&\u00B7@\u00B7'Hi\u00B70"},
      {"Hi", "grad1:#000080:#0080FF", nullptr, TESSALUNE_COLOUR_ITALIC, 1,
       "\u00B7$2\u00B7&H\u00B7$#0080FFi\u00B70"},
      {"", "rainbow", nullptr, 0, 0, "You must type a nick."},
      {longNick.c_str(), "grad:#FF0000:#0000FF", nullptr, 0, 0, "declined: "},
      {longNick.c_str(), "grad:#FF0000:#0000FF", nullptr, TESSALUNE_COLOUR_KEEP_THINNED, 1, ""},
      {"x", "grad:#FF0000", nullptr, 0, TESSALUNE_FAILED,
       "fg: a gradient goes through 2 to 10 colours, not 1"},
      {"x", "rainbow", "solid:red", 0, TESSALUNE_FAILED, "bg: 'red' is not a colour (#RRGGBB)"},
      {nullptr, "rainbow", nullptr, 0, TESSALUNE_FAILED, "no text was given"},
      {"x", "rainbow", nullptr, 128, TESSALUNE_FAILED, "unknown flags 128"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    char* result = nullptr;
    char* error = nullptr;
    EXPECT_EQ(colour(c.text, c.fg, c.bg, c.flags, &result, &error), c.returned);
    EXPECT_EQ(result == nullptr, c.returned != 1);
    EXPECT_EQ(error == nullptr, c.returned == 1);
    const std::string said = result ? result : error ? error : "";
    EXPECT_TRUE(said.starts_with(c.said)) << said;
    release(result);
    release(error);
  }
}

}  // namespace
