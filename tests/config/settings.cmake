kova_test(SerialisationTests
  SOURCES SerialisationTest.cpp
  LIBS config)
