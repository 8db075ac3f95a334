#include "pidgin_page.h"

#include <dlfcn.h>
#include <glib-object.h>

namespace tessalune::purple {

namespace {

// Pidgin's and its toolkit's functions the page calls, as the process has them.
struct Toolkit {
  void* (*createFrame)(PurplePluginPrefFrame*);
  void* (*newHBox)(gboolean homogeneous, gint spacing);
  void* (*newButton)(const char* label);
  void (*packStart)(void* box, void* child, gboolean expand, gboolean fill, guint padding);
  void (*showAll)(void* widget);
  gulong (*connect)(gpointer instance, const gchar* signal, GCallback handler, gpointer data,
                    GClosureNotify notify, GConnectFlags flags);
};

template <typename Function>
bool find(Function& function, const char* name) {
  function = reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
  return function != nullptr;
}

bool toolkit(Toolkit& t) {
  return find(t.createFrame, "pidgin_plugin_pref_create_frame") && find(t.newHBox, "gtk_hbox_new") &&
         find(t.newButton, "gtk_button_new_with_label") && find(t.packStart, "gtk_box_pack_start") &&
         find(t.showAll, "gtk_widget_show_all") && find(t.connect, "g_signal_connect_data");
}

// What the button calls, kept as long as the button lives.
struct Click {
  void (*function)(void*);
  void* data;
};

void onClicked(void*, gpointer click) {
  const auto* c = static_cast<Click*>(click);
  c->function(c->data);
}

void forgetClick(gpointer click, GClosure*) {
  delete static_cast<Click*>(click);
}

}  // namespace

bool PidginPage::available() {
  Toolkit t{};
  return toolkit(t);
}

PidginPage::~PidginPage() {
  if (frame_) purple_plugin_pref_frame_destroy(frame_);
}

void* PidginPage::build(PurplePluginPrefFrame* frame, const char* buttonLabel, void (*onClick)(void*),
                        void* data) {
  Toolkit t{};
  if (!toolkit(t)) {
    purple_plugin_pref_frame_destroy(frame);
    return nullptr;
  }
  if (frame_) purple_plugin_pref_frame_destroy(frame_);
  frame_ = frame;
  void* page = t.createFrame(frame);
  void* row = t.newHBox(FALSE, 0);
  void* button = t.newButton(buttonLabel);
  t.connect(button, "clicked", G_CALLBACK(onClicked), new Click{onClick, data}, forgetClick,
            static_cast<GConnectFlags>(0));
  t.packStart(row, button, FALSE, FALSE, 0);
  t.packStart(page, row, FALSE, FALSE, 0);
  t.showAll(page);
  return page;
}

}  // namespace tessalune::purple
