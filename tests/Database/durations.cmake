# Session lengths and training modes: their texts.
kova_test(DurationTests
  SOURCES DurationTest.cpp ${PROJECT_SOURCE_DIR}/tests/gettext/CatalogBuilder.cpp
  LIBS Database)
if(TARGET DurationTests)
  target_include_directories(DurationTests PRIVATE ${PROJECT_SOURCE_DIR}/tests/gettext)
  target_compile_definitions(DurationTests PRIVATE KOVA_TEST_CATALOGS="")
endif()
