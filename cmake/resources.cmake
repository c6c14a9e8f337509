# tarnwell.rc includes these files: the pictures, the icon, the manifest, and
# each window's dialog script with its ids. windres leaves no dependency file,
# so every target that compiles the script names them, through this, to be
# rebuilt when one changes.
#
#   tw_rc_depends()   in each folder whose targets compile gui/win32/tarnwell.rc
function(tw_rc_depends)
  set(gui ${PROJECT_SOURCE_DIR}/gui/win32)
  set(files
    ${PROJECT_SOURCE_DIR}/resources/about.jpg
    ${PROJECT_SOURCE_DIR}/resources/optical.jpg
    ${gui}/res/tarnwell.ico
    ${gui}/res/tarnwell.manifest
    ${gui}/resource_ids.h)
  foreach(window subst_dialog optical_info smart disk_info check_disk bench_mark usb_drives volumes)
    list(APPEND files ${gui}/${window}/${window}.rc ${gui}/${window}/${window}_ids.h)
  endforeach()
  # Source file properties belong to the folder that sets them: the caller's.
  set_source_files_properties(${gui}/tarnwell.rc PROPERTIES OBJECT_DEPENDS "${files}")
endfunction()
