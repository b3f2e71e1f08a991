# The layer check: every library described for .ci/check-layers (its folder,
# sources and links, and whether it is windowed), and one small program per
# window-free library that links that library whole and nothing but what it
# declares, so a library that needs an undeclared one fails to link.

function(kova_layer_check)
  get_property(libraries GLOBAL PROPERTY KOVA_LIBRARIES)
  set(layers ${PROJECT_BINARY_DIR}/layers)
  # Descriptions of libraries that are gone would still be checked.
  file(GLOB stale ${layers}/*.layer)
  if(stale)
    file(REMOVE ${stale})
  endif()
  foreach(lib IN LISTS libraries)
    get_property(isWindowed TARGET ${lib} PROPERTY KOVA_WINDOWED)
    if(isWindowed)
      set(isWindowed 1)
    else()
      set(isWindowed 0)
    endif()
    file(GENERATE OUTPUT ${layers}/${lib}.layer CONTENT
"name=${lib}
windowed=${isWindowed}
dir=$<TARGET_PROPERTY:${lib},SOURCE_DIR>
sources=$<JOIN:$<TARGET_PROPERTY:${lib},SOURCES>,;>
links=$<JOIN:$<TARGET_PROPERTY:${lib},LINK_LIBRARIES>,;>
")
    if(NOT isWindowed AND KOVA_TESTS)
      add_executable(layer-link-${lib} ${PROJECT_SOURCE_DIR}/cmake/LayerLinkMain.cpp)
      target_link_libraries(layer-link-${lib} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${lib}>")
      set_target_properties(layer-link-${lib} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${layers}/link)
    endif()
  endforeach()
  # Where the Qt module headers are, to know the widget headers by name.
  if(DEFINED QT6_INSTALL_PREFIX AND DEFINED QT6_INSTALL_HEADERS)
    file(WRITE ${layers}/qt-headers "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}")
  endif()
  if(KOVA_TESTS)
    add_test(NAME layers.includesFollowTheLinks
      COMMAND ${PROJECT_SOURCE_DIR}/.ci/check-layers ${PROJECT_BINARY_DIR})
    set_tests_properties(layers.includesFollowTheLinks PROPERTIES LABELS core)
  endif()
endfunction()
