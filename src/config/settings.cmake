# The settings record, its file, and the settings object with the
# property-folder controller.
target_sources(config PRIVATE
  PropertyModel.cpp SettingsFile.cpp
  PropertyFolderController.cpp Configuration.cpp)
