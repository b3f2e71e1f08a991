# The application's start-up state.
kova_test(AppStartupTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CprTrainingAppStateTest.cpp
  LIBS app_core)

kova_fuzzer(CommandLineFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/CommandLineFuzz.cpp
  LIBS app_core)
