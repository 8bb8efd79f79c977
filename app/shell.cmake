# Export, print, help and the about box.
target_sources(quillon_core PRIVATE
  app/BuildInfo.cpp
  app/BuildInfo.h
  app/ExportFile.cpp
  app/ExportFile.h
  app/ExportLocation.cpp
  app/ExportLocation.h
  app/HelpLocation.cpp
  app/HelpLocation.h
)
set_source_files_properties(app/BuildInfo.cpp PROPERTIES
  COMPILE_DEFINITIONS "QUILLON_VERSION=\"${PROJECT_VERSION}\"")
# Runs from a build tree find the help in the sources when no copy is installed.
set_source_files_properties(app/HelpLocation.cpp PROPERTIES
  COMPILE_DEFINITIONS "QUILLON_SOURCE_HELP_FILE=\"${CMAKE_CURRENT_SOURCE_DIR}/resources/help/quillon.html\"")

target_sources(quillon_ui PRIVATE
  app/AboutDialog.cpp
  app/AboutDialog.h
  app/ExportDialog.cpp
  app/ExportDialog.h
  app/HelpWindow.cpp
  app/HelpWindow.h
  app/PageSetupDialog.cpp
  app/PageSetupDialog.h
  app/ReportPage.cpp
  app/ReportPage.h
)
target_link_libraries(quillon_ui PUBLIC Qt6::PrintSupport)
