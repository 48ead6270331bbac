# kup_headers(TARGET header...): the headers (paths from the current folder)
# that TARGET offers, included by their path from the repository root
# ("cad/automation.h") by TARGET and by whatever links it.
# Each target sees only the headers of the targets it links, so an include
# across a line the architecture forbids (core -> windows, window -> main
# window) does not compile.
function(kup_headers target)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root})
  foreach(header IN LISTS ARGN)
    get_filename_component(source ${header} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(RELATIVE_PATH path ${PROJECT_SOURCE_DIR} ${source})
    set(link ${root}/${path})
    get_filename_component(dir ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${source} ${link} SYMBOLIC COPY_ON_ERROR)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# kup_header_as(TARGET SOURCE PATH): one header of TARGET offered under another
# path, for a header that exists once per platform ("bus/x.h" as "x.h").
function(kup_header_as target source path)
  get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(link ${PROJECT_BINARY_DIR}/include/${target}/${path})
  get_filename_component(dir ${link} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK ${source} ${link} SYMBOLIC COPY_ON_ERROR)
endfunction()
