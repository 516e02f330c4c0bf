# Fails when one of FILES includes a header of app/; touches STAMP otherwise.
#   cmake -DFILES=a.cpp;b.h -DSTAMP=out -P check_no_app_include.cmake
foreach(file IN LISTS FILES)
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]app/")
  if(includes)
    message(FATAL_ERROR "${file} includes the program's dialog (${includes}); "
                        "this folder's library must not depend on app/")
  endif()
endforeach()
file(TOUCH "${STAMP}")
