kova_test(SerialisationTests
  SOURCES SerialisationTest.cpp
  LIBS config)

kova_test(SettingsTests
  SOURCES PropertyModelTest.cpp SettingsFileTest.cpp ConfigurationTest.cpp SettingsTestSupport.cpp
  LIBS config)

kova_fuzzer(SettingsFileFuzzer
  SOURCES SettingsFileFuzzer.cpp
  LIBS config)
