# Utility functions, text line layout and resource formats (core); dialogs
# fitting the screen, the translation fit checker, combo-box and window-text
# helpers and bitmap drawing (windowed).
set(_utils_tests ${CMAKE_CURRENT_LIST_DIR})
kova_test(UtilsTests
  SOURCES
    ${_utils_tests}/UtilTest.cpp
    ${_utils_tests}/DateTextTest.cpp
    ${_utils_tests}/TextLinesTest.cpp
    ${_utils_tests}/ResourceFormatsTest.cpp
    ${_utils_tests}/AviClipTest.cpp
  LIBS Rodezir)

kova_fuzzer(ResourceHeaderFuzzer
  SOURCES ${_utils_tests}/fuzz/ResourceHeaderFuzzer.cpp
  LIBS Rodezir)
kova_fuzzer(DibImageFuzzer
  SOURCES ${_utils_tests}/fuzz/DibImageFuzzer.cpp
  LIBS Rodezir)
kova_fuzzer(AviClipFuzzer
  SOURCES ${_utils_tests}/fuzz/AviClipFuzzer.cpp
  LIBS Rodezir)

kova_test(UtilsGuiTests GUI
  SOURCES
    ${_utils_tests}/DialogUtilTest.cpp
    ${_utils_tests}/FitCheckerTest.cpp
    ${_utils_tests}/WidgetHelpersTest.cpp
    ${_utils_tests}/BitmapDrawTest.cpp
  LIBS Rodezir_gui Qt6::Test)
if(TARGET UtilsGuiTests)
  # A true-colour bitmap of our own as bitmap 30401.
  set(_utils_swatch ${_utils_tests}/resources/utils-swatch.bmp)
  set_source_files_properties(${_utils_swatch} PROPERTIES QT_RESOURCE_ALIAS 30401)
  qt_add_resources(UtilsGuiTests "utils_test_bitmaps" PREFIX "/kova/bitmap" BASE ${_utils_tests}/resources
    FILES ${_utils_swatch})
  # The Danish test catalog of the dialog tests stands for a catalog named on the command line.
  set(_utils_catalog ${CMAKE_CURRENT_BINARY_DIR}/dialogs-catalog/da.mo)
  if(TARGET dialogs_test_catalog)
    add_dependencies(UtilsGuiTests dialogs_test_catalog)
  endif()
  target_compile_definitions(UtilsGuiTests PRIVATE KOVA_UTILS_CATALOG="${_utils_catalog}")
endif()
