# Each folder of the program is a library that sees only its own headers and
# those of the libraries it links. A library's include root is a folder in the
# build tree holding a link to its source folder, so "app/tform1.h" cannot be
# found from a library that does not link the app library: a wrong include
# fails the build instead of creeping in.
#
#   tw_layer_headers(TARGET FOLDER)            the whole FOLDER ("inventory",
#                                              "platform/sim", "gui/win32")
#   tw_layer_headers(TARGET FOLDER FILES_ONLY) only the headers directly in
#                                              FOLDER, not its subfolders
function(tw_layer_headers target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if("FILES_ONLY" IN_LIST ARGN)
    file(MAKE_DIRECTORY ${root}/${folder})
    file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    foreach(header IN LISTS headers)
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
    endforeach()
  else()
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
