#include "errors/plugin_error_report.h"

#include <gtest/gtest.h>

#include "errors/loop_watchdog.h"
#include "errors/titles.h"
#include "platform/scripted_dialogs.h"
#include "support/english_messages.h"
#include "support/recording_lifecycle.h"

namespace tessalune::errors {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;
using Calls = std::vector<std::string>;

class ErrorReportTest : public ::testing::Test {
 protected:
  platform::ScriptedDialogs dialogs{Answer::No};
  testing::EnglishMessages messages;
  testing::RecordingLifecycle lifecycle;
  PluginErrorReport report{dialogs, messages, lifecycle};
};

TEST_F(ErrorReportTest, UnknownFailureOffersARestart) {
  report.reportError(ErrorKind::Unknown, "rtf2xml", 13, "Type mismatch", 4, "");
  ASSERT_EQ(dialogs.shown().size(), 1u);
  const platform::ShownMessage& box = dialogs.shown()[0];
  EXPECT_EQ(
      box.text,
      "An unknown error has occurred (code 13). Tessalune may be unstable now; do you want to reload it?"
      "\r\n\r\nThe error was: 4 @ rtf2xml -> Type mismatch");
  EXPECT_EQ(box.title, "Unknown error - Tessalune");
  EXPECT_EQ(box.icon, Icon::Critical);
  EXPECT_EQ(box.buttons, Buttons::YesNo);
  EXPECT_TRUE(lifecycle.calls.empty());  // No: the plug-in goes on

  dialogs.queueAnswer(Answer::Yes);
  report.reportError(ErrorKind::Unknown, "xml2plus", 7, "Out of memory", 1, "");
  EXPECT_EQ(lifecycle.calls, (Calls{"unloadForms", "initPlugin"}));
  EXPECT_EQ(dialogs.shown().back().text, "Tessalune has been successfully restarted.");
  EXPECT_EQ(dialogs.shown().back().icon, Icon::Information);
}

TEST_F(ErrorReportTest, AMissingConfigurationIsRecreatedAndLoaded) {
  report.reportError(ErrorKind::Config, "loadConfig", kDocumentNotFound, "not found", 0, "0");
  EXPECT_EQ(dialogs.shown()[0].text,
            "Tessalune's config file (tessalune.xml) can't be found. A base config will be created.");
  EXPECT_EQ(dialogs.shown()[0].title, "Tessalune");
  EXPECT_EQ(lifecycle.calls, (Calls{"loadConfig"}));
}

TEST_F(ErrorReportTest, AMalformedConfigurationHalts) {
  report.reportError(ErrorKind::Config, "loadConfig", 14, "Start-end tags mismatch", 3, "7");
  EXPECT_EQ(dialogs.shown()[0].text,
            "XML error: Start-end tags mismatch\r\nLine: 3 : 7\r\n\r\nConfig can't be loaded.");
  EXPECT_EQ(dialogs.shown()[0].title, "Tessalune - FATAL ERROR");
  EXPECT_EQ(lifecycle.calls, (Calls{"unloadForms", "setHalted"}));
}

TEST_F(ErrorReportTest, AnXmlComponentFailureHaltsWithLineBreaks) {
  report.reportError(ErrorKind::Xml, "rtf2xml", 0, "fatal", 0, "");
  EXPECT_EQ(
      dialogs.shown()[0].text,
      "FATAL ERROR: XML object can't be created.\r\nYou must install Microsoft XML to use Tessalune v2, "
      "available at:\r\n\r\nhttps://tessalune.org/download/xml");
  EXPECT_EQ(lifecycle.calls, (Calls{"unloadForms", "setHalted"}));
}

TEST_F(ErrorReportTest, ARefusedRestartHaltsInsteadOfRestarting) {
  lifecycle.refuseRestarts = true;
  report.restartPlugin();
  ASSERT_EQ(dialogs.shown().size(), 1u);
  EXPECT_EQ(dialogs.shown().back().text, "Tessalune can't be restarted.");
  EXPECT_EQ(dialogs.shown().back().title, "Tessalune - FATAL ERROR");
  EXPECT_EQ(lifecycle.calls, (Calls{"setHalted"}));
}

TEST(LoopWatchdog, AsksAfterTheThresholdAndWaitsAHundredMorePerYes) {
  platform::ScriptedDialogs dialogs;
  testing::EnglishMessages messages;
  LoopWatchdog watchdog(1, dialogs, messages);
  int pass = 1;
  for (; dialogs.shown().empty(); ++pass) {
    ASSERT_TRUE(watchdog.mayGoOn());
    watchdog.endPass();
  }
  EXPECT_EQ(pass - 1, 501);  // the first question comes in pass 501
  EXPECT_NE(dialogs.shown()[0].text.find("more than 500 loops"), std::string::npos);
  for (; dialogs.shown().size() == 1; ++pass) {
    ASSERT_TRUE(watchdog.mayGoOn());
    watchdog.endPass();
  }
  EXPECT_EQ(pass - 1, 601);
  EXPECT_NE(dialogs.shown()[1].text.find("more than 600 loops"), std::string::npos);

  dialogs.queueAnswer(Answer::No);
  for (int i = 0; i < 100; ++i) watchdog.endPass();
  EXPECT_FALSE(watchdog.mayGoOn());
  EXPECT_EQ(dialogs.shown().back().icon, Icon::Critical);
  EXPECT_EQ(dialogs.shown().back().title, "Tessalune - Anti-crash");
  EXPECT_EQ(LoopWatchdog(2, dialogs, messages).threshold(), 1000);
}

}  // namespace
}  // namespace tessalune::errors
