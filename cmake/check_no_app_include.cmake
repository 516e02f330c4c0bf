# Fails when one of FILES includes a header of app/, or of the dialog
# framework's windows, or of a toolkit; touches STAMP otherwise. A folder's
# logic reaches the dialog only through tuner/ui_port.h.
#   cmake -DFILES=a.cpp;b.h -DSTAMP=out -P check_no_app_include.cmake
set(window_headers "framework/(controls|data_exchange|dialog|host|message)\\.h|hosts/|wx/|gtk/|gdk/|windows\\.h")
foreach(file IN LISTS FILES)
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]app/")
  if(includes)
    message(FATAL_ERROR "${file} includes the program's dialog (${includes}); "
                        "this folder's library must not depend on app/")
  endif()
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](${window_headers})")
  if(includes)
    message(FATAL_ERROR "${file} includes a window's header (${includes}); "
                        "this folder's logic reaches the dialog through tuner/ui_port.h")
  endif()
endforeach()
file(TOUCH "${STAMP}")
