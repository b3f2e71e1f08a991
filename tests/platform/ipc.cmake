# The splash close message: its bytes, its sender and its listener.
kova_test(SplashMessageTests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SplashMessageTest.cpp
  LIBS platform_ipc)

kova_fuzzer(SplashMessageFuzzer
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SplashMessageFuzzer.cpp
  LIBS platform_ipc)
