# Session lengths and training modes: their texts, and the combo boxes that choose them.
kova_test(DurationTests
  SOURCES DurationTest.cpp ${PROJECT_SOURCE_DIR}/tests/gettext/CatalogBuilder.cpp
  LIBS Database)
if(TARGET DurationTests)
  target_include_directories(DurationTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/gettext)
  target_compile_definitions(DurationTests PRIVATE KOVA_TEST_CATALOGS="")
endif()
if(KOVA_GUI AND KOVA_TESTS)
  find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
kova_test(DurationComboTests GUI SOURCES DurationComboTest.cpp LIBS Database_gui Qt6::Test)
