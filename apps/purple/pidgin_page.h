#pragma once

#include <purple.h>

namespace tessalune::purple {

// Pidgin's Configure Plugin page for Tessalune: the entries of a preference frame as Pidgin
// draws them, and under them a button. Pidgin's toolkit is reached through the symbols
// Pidgin's process already has, so that the plug-in's library never links it and loads as
// well in a client without it.
class PidginPage {
 public:
  // Whether the process is Pidgin, with all the page needs.
  static bool available();

  // The page's widget: frame's entries, then a button labelled buttonLabel that calls
  // onClick(data) from Pidgin's loop. The page keeps frame (Pidgin's widgets refer to it)
  // until the next page or its end.
  void* build(PurplePluginPrefFrame* frame, const char* buttonLabel, void (*onClick)(void* data), void* data);

  PidginPage() = default;
  ~PidginPage();
  PidginPage(const PidginPage&) = delete;
  PidginPage& operator=(const PidginPage&) = delete;

 private:
  PurplePluginPrefFrame* frame_ = nullptr;
};

// The client's description of a Pidgin-only page, laid out as Pidgin reads it.
struct PidginPageInfo {
  void* (*getConfigFrame)(PurplePlugin* plugin);
  int pageNumber;
  void (*reserved[4])();
};

// The client name a plug-in with a Pidgin-only page requires.
inline constexpr const char* kPidginUi = "gtk-gaim";

}  // namespace tessalune::purple
