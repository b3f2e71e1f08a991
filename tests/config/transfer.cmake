# The windowed side of the settings: the configuration dialog's transfer
# buttons and the controller-transfer front end they call.
kova_test(ConfigurationTransferTests GUI
  SOURCES ConfigurationTransferTest.cpp SettingsTestSupport.cpp
  LIBS config_gui)
