# Removes every file listed in an install manifest (cmake -DMANIFEST=FILE -P uninstall.cmake),
# then the manifest. The manifest names the files without DESTDIR: an install into a staging
# folder is removed from the same DESTDIR. Files already gone are passed over; folders stay.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing installed from this build: ${MANIFEST} is missing")
endif()
file(STRINGS "${MANIFEST}" files)
foreach(listed IN LISTS files)
  set(file "$ENV{DESTDIR}${listed}")
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
  endif()
endforeach()
file(REMOVE "${MANIFEST}")
