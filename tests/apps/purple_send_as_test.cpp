#include "send_as.h"

#include <gtest/gtest.h>

#include <string>

#include "lang/message_catalogue.h"
#include "lang/message_variables.h"

namespace tessalune::purple {
namespace {

// IRC clients show Plus! codes as they are, so an IRC account sends its network's
// formatting until the person chooses; XMPP and the rest send Plus! codes.
TEST(SendAs, DefaultsToTheNetworksOwnOnIrcAlone) {
  EXPECT_EQ(defaultSendAs("prpl-irc"), SendAs::NetworkFormatting);
  EXPECT_EQ(defaultSendAs("prpl-jabber"), SendAs::PlusCodes);
  EXPECT_EQ(defaultSendAs("prpl-novell"), SendAs::PlusCodes);
}

// Each account has a preference of its own, whose name the client can hold: no "/" of an XMPP
// resource, and two accounts whose names differ only where one is escaped stay apart.
TEST(SendAs, NamesOnePreferencePerAccount) {
  const std::string home = sendAsPreference("/b", "prpl-jabber", "alice@example.org/home");
  EXPECT_EQ(home, "/b/prpl_2Djabber__alice_40example_2Eorg_2Fhome");
  EXPECT_NE(home, sendAsPreference("/b", "prpl-jabber", "alice@example.org_2Fhome"));
  EXPECT_NE(sendAsPreference("/b", "prpl-irc", "alice@127.0.0.1"),
            sendAsPreference("/b", "prpl-jabber", "alice@127.0.0.1"));
  EXPECT_EQ(sendAsPreference("/b", "prpl-irc", "é").substr(3), "prpl_2Dirc___C3_A9");
}

class NetworkFormatting : public ::testing::Test {
 protected:
  NetworkFormatting() { messages.loadMessages(); }
  lang::MessageVariables messages{lang::MessageCatalogue(1033)};
};

// A result in each network's own codes: IRC's formatting characters with the nearest palette
// numbers, XMPP's HTML (sent as XHTML-IM) without the white paper the text did not choose, and
// Plus! codes as they are where the network has no formatting the plug-in writes.
TEST_F(NetworkFormatting, WritesEachNetworksOwnCodes) {
  struct Case {
    const char* protocol;
    std::string plus;
    std::string text;
    bool html;
  };
  const Case cases[] = {
      // \003 colour, \002 bold; red is the palette's 4, the deep red nearest to 40.
      {"prpl-irc", "\u00B7$4Red \u00B7#bold", "\00304Red \002bold", false},
      {"prpl-irc", "\u00B7$#C80000,2ab", "\00340,02ab", false},
      {"prpl-jabber", "\u00B7$4Red <b>", "<font color=\"#FF0000\">Red &lt;b&gt;</font>", true},
      {"prpl-jabber", "\u00B7$4,8a\u00B7#b",
       "<font color=\"#FF0000\" back=\"#FFFF00\">a</font><font color=\"#FF0000\" "
       "back=\"#FFFF00\"><b>b</b></font>",
       true},
      {"prpl-novell", "\u00B7$4Red", "\u00B7$4Red", false},
  };
  for (const Case& c : cases) {
    const Outgoing out = inNetworkFormatting(c.protocol, c.plus, messages, true);
    EXPECT_EQ(out.text, c.text) << c.protocol << " " << c.plus;
    EXPECT_EQ(out.html, c.html) << c.protocol << " " << c.plus;
    EXPECT_EQ(out.question, "") << c.protocol << " " << c.plus;
  }
}

// An IRC line has room for 400 bytes: two colours that no longer fit are both dropped, which
// the person is asked about again, and a text too long even without colours is refused.
TEST_F(NetworkFormatting, AsksAgainOrRefusesWhenTheLineHasNoRoom) {
  const std::string line(395, 'a');
  const std::string twoColours = "\u00B7$4" + line + "\u00B7$5b";
  for (const bool keep : {true, false}) {
    const Outgoing out = inNetworkFormatting("prpl-irc", twoColours, messages, keep);
    EXPECT_EQ(out.question, "The message is too long to be colored. Do you want to send it nonetheless?");
    EXPECT_EQ(out.text, keep ? line + "b" : "");
  }
  const Outgoing refused = inNetworkFormatting("prpl-irc", "\u00B7$4" + line + "bcdef6", messages, true);
  EXPECT_EQ(refused.text, "");
  EXPECT_EQ(refused.message, "The text is too long for this target (more than 400 bytes).");
}

}  // namespace
}  // namespace tessalune::purple
