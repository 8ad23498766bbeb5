# Every library names its headers from the repository root ("dbf/Dbf.h"), yet
# exports only its own: it gets an include folder in the build tree holding
# symbolic links to its headers under their repository path, and no target has
# the repository root on its include path. A layer that includes a header of a
# layer it does not link therefore fails to build.
#
# tlacsub_public_headers(<target> [<header>...]) exports the headers named, or
# every header of the calling folder when none are named.
function(tlacsub_public_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(headers ${ARGN})
  if(NOT headers)
    file(GLOB headers RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  # Made afresh, so a header that was removed or moved is not found any more.
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header ${headers})
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${header})
      message(FATAL_ERROR "${target}: no header ${header} in ${folder}")
    endif()
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
