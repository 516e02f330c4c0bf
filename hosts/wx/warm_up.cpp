#include "hosts/wx/warm_up.h"

#include <wx/defs.h>

#include <mutex>
#include <thread>

#if defined(__WXGTK3__)
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gio/gio.h>
#include <pango/pangocairo.h>
#endif

namespace wxhost {

namespace {

#if defined(__WXGTK3__)
// A font map of the worker's own: pango's objects are not shared between
// threads, but fontconfig's configuration and cache, which the first font
// load reads, are the process's.
void LoadFont(const char* name) {
  PangoFontMap* map = pango_cairo_font_map_new();
  PangoContext* context = pango_font_map_create_context(map);
  PangoFontDescription* description = pango_font_description_from_string(name);
  if (PangoFont* font = pango_context_load_font(context, description)) g_object_unref(font);
  pango_font_description_free(description);
  g_object_unref(context);
  g_object_unref(map);
}

// Decoding any SVG loads gdk-pixbuf's SVG loader and the library behind it
// for the whole process.
void LoadSvgLoader() {
  static const char kSvg[] =
      "<svg xmlns='http://www.w3.org/2000/svg' width='1' height='1'><rect width='1' "
      "height='1'/></svg>";
  GInputStream* in = g_memory_input_stream_new_from_data(kSvg, sizeof kSvg - 1, nullptr);
  if (GdkPixbuf* image = gdk_pixbuf_new_from_stream(in, nullptr, nullptr)) g_object_unref(image);
  g_object_unref(in);
}
#endif

std::mutex& WorkerLock() {
  static std::mutex lock;
  return lock;
}

// Never destroyed: a thread object destroyed while joinable would end the
// process.
std::thread& Worker() {
  static auto* worker = new std::thread;
  return *worker;
}

}  // namespace

void StartToolkitWarmUp() {
#if defined(__WXGTK3__)
  static bool started = false;
  std::lock_guard<std::mutex> hold(WorkerLock());
  if (started) return;
  started = true;
  Worker() = std::thread([] {
    // The first font load mostly waits for fontconfig's configuration and
    // cache, whichever family it asks for; GTK's own font setting would have
    // to be read on the user-interface thread, which loads the theme first.
    LoadFont("Sans");
    LoadSvgLoader();
  });
#endif
}

void FinishToolkitWarmUp() {
  std::lock_guard<std::mutex> hold(WorkerLock());
  if (Worker().joinable()) Worker().join();
}

}  // namespace wxhost
