# Dialog templates as bytes (core), and the dialog platform: templates with
# their fonts, the builder, notifications, layout and translation (windowed).
kova_test(DialogTemplateCodecTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DialogTemplateCodecTest.cpp
  LIBS Rodezir)

kova_fuzzer(DialogTemplateFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz/DialogTemplateFuzzer.cpp
  LIBS Rodezir)

if(KOVA_TESTS AND KOVA_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  # The Danish test catalog, in the Western code page the translation layer reads "da" with.
  find_program(KOVA_DIALOGS_MSGFMT msgfmt REQUIRED)
  find_program(KOVA_DIALOGS_MSGCONV msgconv REQUIRED)
  set(_dialogs_catalog_dir ${CMAKE_CURRENT_BINARY_DIR}/dialogs-catalog)
  add_custom_command(
    OUTPUT ${_dialogs_catalog_dir}/da.mo
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_dialogs_catalog_dir}
    COMMAND ${KOVA_DIALOGS_MSGCONV} --to-code=CP1252 -o ${_dialogs_catalog_dir}/da.po ${CMAKE_CURRENT_LIST_DIR}/dialogs-da.po
    COMMAND ${KOVA_DIALOGS_MSGFMT} --check -o ${_dialogs_catalog_dir}/da.mo ${_dialogs_catalog_dir}/da.po
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/dialogs-da.po)
  add_custom_target(dialogs_test_catalog DEPENDS ${_dialogs_catalog_dir}/da.mo)
endif()

kova_test(DialogPlatformTests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DialogTemplateTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontUtilTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogBuilderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LayoutEngineTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LayoutDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogTranslationTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SampleDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MenuBuilderTest.cpp
  LIBS Rodezir_gui Qt6::Test)
if(TARGET DialogPlatformTests)
  add_dependencies(DialogPlatformTests dialogs_test_catalog)
  target_compile_definitions(DialogPlatformTests PRIVATE KOVA_DIALOGS_CATALOG="${_dialogs_catalog_dir}/da.mo")
endif()

if(TARGET DialogPlatformTests)
  # A picture of our own, compiled in as bitmap 140 and icon 141 for the picture controls.
  set(_dialogs_picture ${CMAKE_CURRENT_LIST_DIR}/resources/trainee-mark.png)
  set_source_files_properties(${_dialogs_picture} PROPERTIES QT_RESOURCE_ALIAS 140)
  qt_add_resources(DialogPlatformTests "dialogs_test_bitmaps" PREFIX "/kova/bitmap" BASE ${CMAKE_CURRENT_LIST_DIR}/resources
    FILES ${_dialogs_picture})
endif()
