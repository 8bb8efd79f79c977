# Command line, launch parameters and launcher mode.
target_sources(quillon_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CCommandLineInfoWav.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CCommandLineInfoWav.h
  ${CMAKE_CURRENT_LIST_DIR}/LaunchParameters.h
  ${CMAKE_CURRENT_LIST_DIR}/LaunchRequest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LaunchRequest.h
)
