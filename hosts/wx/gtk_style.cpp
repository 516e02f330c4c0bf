#include "hosts/wx/gtk_style.h"

#include <wx/defs.h>
#include <wx/window.h>

#if defined(__WXGTK3__)
#include <gtk/gtk.h>
#endif

namespace wxhost {

void UseCompactControls() {
#if defined(__WXGTK3__)
  static bool installed = false;
  if (installed) return;
  installed = true;
  GdkScreen* screen = gdk_screen_get_default();
  if (screen == nullptr) return;
  static const char kCss[] =
      "entry { min-height: 0; padding-top: 1px; padding-bottom: 1px; }\n"
      "button { min-height: 0; padding-top: 1px; padding-bottom: 1px; }\n"
      "combobox button, combobox box { min-height: 0; padding-top: 0; padding-bottom: 0; }\n"
      "checkbutton, radiobutton { min-height: 0; padding-top: 0; padding-bottom: 0; }\n";
  GtkCssProvider* provider = gtk_css_provider_new();
  if (gtk_css_provider_load_from_data(provider, kCss, -1, nullptr)) {
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  }
  g_object_unref(provider);
#endif
}

void SizeByShownEntry(wxWindow* dropDown) {
#if defined(__WXGTK3__)
  GtkWidget* combo = dropDown->GetHandle();
  if (combo == nullptr || !GTK_IS_COMBO_BOX(combo)) return;
  GtkWidget* view = gtk_bin_get_child(GTK_BIN(combo));
  if (view != nullptr && GTK_IS_CELL_VIEW(view)) {
    gtk_cell_view_set_fit_model(GTK_CELL_VIEW(view), FALSE);
  }
#else
  (void)dropDown;
#endif
}

void KeepUsableBesideModal(wxWindow* window) {
#if defined(__WXGTK3__)
  GtkWindowGroup* group = gtk_window_group_new();
  gtk_window_group_add_window(group, GTK_WINDOW(window->GetHandle()));
  g_object_unref(group);
#else
  (void)window;
#endif
}

}  // namespace wxhost
