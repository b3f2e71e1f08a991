# The controller's debriefing pages, bar rows and plot block, read back
# byte by byte; translated pages come from test catalogs that msgfmt writes
# at build time, the bar rows of named algorithms from the SQLite records.
if(KOVA_TESTS)
  find_program(KOVA_MSGFMT msgfmt REQUIRED)
  find_program(KOVA_MSGCONV msgconv REQUIRED)
  set(_page_catalogs ${CMAKE_CURRENT_BINARY_DIR}/page-catalogs)
  set(_page_catalog_files)
  foreach(_language IN ITEMS de fr es)
    set(_source ${CMAKE_CURRENT_LIST_DIR}/po/${_language}.po)
    add_custom_command(
      OUTPUT ${_page_catalogs}/${_language}.mo
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_page_catalogs}
      COMMAND ${KOVA_MSGCONV} --to-code=CP1252 -o ${_page_catalogs}/${_language}-CP1252.po ${_source}
      COMMAND ${KOVA_MSGFMT} --check -o ${_page_catalogs}/${_language}.mo ${_page_catalogs}/${_language}-CP1252.po
      DEPENDS ${_source}
      VERBATIM)
    list(APPEND _page_catalog_files ${_page_catalogs}/${_language}.mo)
  endforeach()
  add_custom_target(controller_page_catalogs DEPENDS ${_page_catalog_files})
endif()

kova_test(ControllerPagesTests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/BarGeneratorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BarGeneratorRecordsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GraphGeneratorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DebriefGeneratorTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/Database/RecordsFixture.cpp
  LIBS CPB)
if(TARGET ControllerPagesTests)
  add_dependencies(ControllerPagesTests controller_page_catalogs)
  target_include_directories(ControllerPagesTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/Database)
  target_compile_definitions(ControllerPagesTests PRIVATE KOVA_CPB_CATALOGS="${_page_catalogs}")
endif()

# The icons the pages print come from the strips the windows show.
kova_test(ControllerIconStripGuiTests GUI
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/IconStripGuiTest.cpp
  LIBS CPB controls)

kova_fuzzer(ControllerPagesFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ControllerPagesFuzz.cpp
  LIBS CPB)
