# Dialog templates as bytes (core), and the dialog platform: templates with
# their fonts, the builder, notifications, layout and translation (windowed).
kova_test(DialogTemplateCodecTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/DialogTemplateCodecTest.cpp
  LIBS Rodezir)

kova_test(DialogPlatformTests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/DialogTemplateTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FontUtilTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogBuilderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LayoutEngineTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LayoutDialogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogTranslationTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SampleDialogTest.cpp
  LIBS Rodezir_gui)

kova_fuzzer(DialogTemplateFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/fuzz/DialogTemplateFuzzer.cpp
  LIBS Rodezir)
