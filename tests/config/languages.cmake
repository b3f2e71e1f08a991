# The table of the controller's languages.
kova_test(LanguageTableTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LangStructTest.cpp
  LIBS config)
